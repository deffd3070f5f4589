#include "TestFiles.h"

#include <QFile>

QByteArray MinimalSkin() {
    return R"([skin]
format = 1

[window]
color = #203040
art <<SVG
<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 10"><rect width="10" height="5" fill="#ff8000"/></svg>
SVG

[edit]
base = #102030
text = #ffffff

[face flat]
fill = #3050a0
border = #ffffff
ink = #ffffff
hover.fill = #4060b0
pressed.fill = #102040
selected.fill = #a03050
disabled.fill = #505050
disabled.ink = #808080

[element Plain]
face = flat
label = Plain
tooltip = A plain button
icon <<SVG
<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24"><circle cx="12" cy="12" r="9"/></svg>
SVG

[element Follower]
face = flat
label = Follows
selected-with = Plain
)";
}

QByteArray MinimalSplash(int milliseconds) {
    return "[splash]\nformat = 1\nsize = 120x80\nduration = " + QByteArray::number(milliseconds) +
           "\nart <<SVG\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 12 8\">"
           "<rect width=\"12\" height=\"8\" fill=\"#4060b0\"/></svg>\nSVG\n"
           "badge <<SVG\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 8 8\">"
           "<circle cx=\"4\" cy=\"4\" r=\"3\" fill=\"#ffffff\"/></svg>\nSVG\n";
}

QString TestFolder::Write(const QString& name, const QByteArray& bytes) const {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}
