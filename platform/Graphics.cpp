#include "Graphics.h"

#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include "Resources.h"
#include "Wnd.h"

namespace {
constexpr int kIconSize = 32;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return kIconSize;
        default:
            return 0;
    }
}

HBITMAP LoadImage(const CString& path, UINT type, int width, int height, UINT flags) {
    if (type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE))
        return nullptr;
    // Bitmaps and the pictures Hide converts make a preview, known by their
    // content whatever the name says, and upright as a photo's tag says.
    QImageReader reader(QString::fromStdString(path.Bytes()));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "png" && format != "jpeg" && format != "webp" &&
        format != "gif" && format != "tiff") {
        return nullptr;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        return nullptr;
    }
    const QImage stretched =
        image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return std::make_shared<const QPixmap>(QPixmap::fromImage(stretched));
}

HICON LoadIconResource(UINT id) {
    const std::string_view path = FindIconResource(id);
    if (path.empty())
        return nullptr;
    QIcon icon(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
    if (icon.isNull())
        return nullptr;
    return std::make_shared<const QIcon>(std::move(icon));
}

CPaintDC::CPaintDC(CWnd* window) : m_painter(std::make_unique<QPainter>(window->GetSafeHwnd())) {}

CPaintDC::~CPaintDC() = default;

HDC CPaintDC::GetSafeHdc() const {
    return m_painter.get();
}

void CPaintDC::DrawIcon(int x, int y, const HICON& icon) {
    if (!icon)
        return;
    m_painter->drawPixmap(x, y, icon->pixmap(kIconSize, kIconSize));
}
