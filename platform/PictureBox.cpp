#include "PictureBox.h"

#include <QPainter>
#include <QPixmap>

HBITMAP PictureBox::SetBitmap(HBITMAP bitmap) {
    HBITMAP previous = std::exchange(m_bitmap, std::move(bitmap));
    if (m_bitmap) {
        resize(m_bitmap->deviceIndependentSize().toSize());
    }
    update();
    return previous;
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (!m_bitmap)
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, *m_bitmap);
}
