#pragma once

// Makes "Tahoma" available to the windows: the system's own, or the Tahoma-compatible
// font that Debian's fonts-wine ships outside fontconfig's paths. Where neither exists
// Qt falls back to a sans-serif font.
namespace AppFont {
void ensureTahoma();
}
