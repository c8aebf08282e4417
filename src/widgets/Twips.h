#pragma once

class QWidget;

// Designed geometry is in twips (1440 an inch): 15 twips are one pixel at 96 dpi.
namespace Twips {
int toPixelsX(int twips, const QWidget *widget = nullptr);
int toPixelsY(int twips, const QWidget *widget = nullptr);
int fromPixelsX(int pixels, const QWidget *widget = nullptr);
int fromPixelsY(int pixels, const QWidget *widget = nullptr);
} // namespace Twips
