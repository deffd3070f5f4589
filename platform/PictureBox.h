#pragma once

#include <QWidget>

#include "Graphics.h"

// A bitmap picture control: shows its bitmap at the bitmap's own size and
// takes that size, as bitmap statics do.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Gives back the bitmap shown before.
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const { return m_bitmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    HBITMAP m_bitmap;
};
