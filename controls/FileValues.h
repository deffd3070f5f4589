#pragma once

// Reading the typed values of skin and splash files. Each reader gives
// nullopt for text that is not a value of its kind.

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

// "#rgb", "#rrggbb", "#rrggbbaa" (alpha last, as in CSS) or "none".
std::optional<QColor> ReadColor(QStringView text);
// One colour or more, separated by blanks.
std::optional<std::vector<QColor>> ReadColors(QStringView text);
// A number within [low, high]; "px" after it is allowed.
std::optional<double> ReadNumber(QStringView text, double low, double high);
// Numbers separated by blanks, each within [low, high].
std::optional<std::vector<double>> ReadNumbers(QStringView text, double low, double high);
// "WIDTHxHEIGHT", each 1 to 4096.
std::optional<QSize> ReadSize(QStringView text);
// "Family Name, 12px" or "Family Name, 12px, STYLE" where STYLE is any of
// normal, bold, light and condensed.
std::optional<QFont> ReadFont(QStringView text);
// True when `svg` is an SVG document that Qt can draw.
bool IsDrawableSvg(const QString& svg);
