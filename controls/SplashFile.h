#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <chrono>
#include <optional>

#include "SectionFile.h"

// A splash file: one [splash] section.
//   format = 1
//   size = 400x240          the splash window, in logical pixels
//   duration = 1500         how long it stays, in milliseconds (200 to 10000)
//   art <<SVG ... SVG       what it shows
//   badge <<SVG ... SVG     optional: a small mark the control draws in its
//                           own place in the window
//   badge-label = TEXT      optional: the badge's name for screen readers
//   badge-focus = COLOUR    optional: the ring round the badge while it has
//                           the focus (else the window's highlight colour)
struct SplashArt {
    QSize size;
    std::chrono::milliseconds duration{1500};
    QString art;
    QString badge;
    QString badgeLabel;
    std::optional<QColor> badgeFocus;
};

Loaded<SplashArt> BuildSplash(const SectionList& sections);
Loaded<SplashArt> ReadSplashFile(const QString& path);
