#pragma once

// A loaded skin: the window's art and, for each named element, how a button
// bound to it is drawn. Built once by the skin reader and never changed.

#include <QColor>
#include <QFont>
#include <QString>
#include <array>
#include <cstddef>
#include <vector>

// The looks a face defines; focus is drawn over whichever applies.
enum class ElementState { Normal, Hover, Pressed, Selected, Disabled };
inline constexpr std::size_t kElementStateCount = 5;

struct FaceLook {
    QColor fillTop = Qt::transparent;  // a vertical gradient from top to bottom
    QColor fillBottom = Qt::transparent;
    QColor border = Qt::transparent;
    QColor ink = Qt::white;              // the label
    QColor icon = Qt::white;             // the icon's shapes, whatever colours its art uses
    QColor highlight = Qt::transparent;  // a hairline just inside the top edge
    QColor bar = Qt::transparent;        // a strip along one edge
};

enum class ContentLayout {
    Row,     // icon at the left, label after it
    Column,  // icon above, label below, both centred
    Center,  // whichever is given, centred
};

struct Face {
    std::array<double, 4> radii{};  // corners: top-left, top-right, bottom-right, bottom-left
    QFont font;
    ContentLayout layout = ContentLayout::Row;
    double padding = 10;  // before the icon in a row
    double iconSize = 18;
    double gap = 8;  // between icon and label
    Qt::Edge barEdge = Qt::LeftEdge;
    double barWidth = 3;
    QColor focus = Qt::transparent;  // ring shown while the control has the focus
    double pressShift = 1;           // content moves down this far while pressed
    std::array<FaceLook, kElementStateCount> looks{};

    const FaceLook& Look(ElementState state) const {
        return looks[static_cast<std::size_t>(state)];
    }
};

struct SkinElement {
    QString name;
    Face face;
    QString label;
    QString icon;  // SVG; empty for none
    QString tooltip;
    QString accessibleName;  // what a screen reader says for it; the label when empty
    // Another element's name: this one is drawn selected while the control
    // bound to that one is shown (so a view's tab follows the view).
    QString selectedWith;
};

struct Skin {
    QString name;
    QString windowArt;  // SVG, stretched over the whole window
    QColor windowColor;
    QString editStyleSheet;  // for the window's text editors; empty leaves them alone
    // What the art says in words, for screen readers; empty leaves the window's own.
    QString windowLabel;
    QString windowDescription;
    std::vector<SkinElement> elements;

    // Null when the skin has no element of that name.
    const SkinElement* FindElement(QStringView elementName) const {
        for (const SkinElement& element : elements) {
            if (element.name == elementName)
                return &element;
        }
        return nullptr;
    }
};
