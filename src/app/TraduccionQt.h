#pragma once

// Qt's own texts in Spanish: the file dialogs ("Buscar en", "Nombre de archivo"), the
// overwrite question and the standard buttons. The translations come from Debian's
// qt6-translations-l10n, in Qt's translations folder. Installed once, at start-up, before any
// window; false when they cannot be found (Qt then speaks English, nothing else changes).
bool InstalarTraduccionQt();
