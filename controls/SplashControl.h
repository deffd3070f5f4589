#pragma once

#include <QPointer>
#include <optional>

#include "Com.h"
#include "ControlRegistry.h"
#include "ControlWidget.h"
#include "SplashFile.h"

class SplashWindow;

// The splash control's place in the window: draws the splash file's badge,
// if it has one, and a ring round it while it has the focus (it is a tab
// stop of the window, so the user must see when it is reached).
class SplashBadge : public ControlWidget {
    Q_OBJECT

public:
    explicit SplashBadge(QWidget* parent);
    // The badge of `splash`, or none.
    void SetBadge(const SplashArt* splash);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_badge;
    std::optional<QColor> m_focus;
};

// The splash control, driven through automation:
//   DISPID_SPLASH_FILE (string path): reads the splash file;
//   DISPID_SPLASH_SHOW (integer): shows the splash for that many
//     milliseconds, or for the file's own time when 0, without waiting.
class SplashControl final : public ComObject<SplashControl, IDispatch> {
public:
    explicit SplashControl(SplashBadge* widget);

    HRESULT QueryInterface(const IID& riid, void** ppvObject) override;
    HRESULT Invoke(DISPID dispid, std::uint16_t flags, const std::vector<VARIANT>& args,
                   VARIANT* result) override;

private:
    HRESULT ReadFile(const BSTR& path);
    HRESULT Show(std::int32_t milliseconds);

    QPointer<SplashBadge> m_widget;  // may go before this object does
    std::optional<SplashArt> m_splash;
    QPointer<SplashWindow> m_shown;
};

HostedControl CreateSplashControl(QWidget* parent);
