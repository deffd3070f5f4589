#pragma once

#include <QImage>
#include <QWidget>
#include <chrono>

#include "SplashFile.h"

// The splash itself: a frameless window over the middle of the screen that
// shows the art without taking the focus, and closes itself after its time
// or when clicked. It deletes itself on closing.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    // `owner` keeps it (Qt's parent ownership) and gives the screen.
    SplashWindow(QWidget& owner, const SplashArt& splash);
    void ShowFor(std::chrono::milliseconds duration);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_art;
    QImage m_rendered;
};
