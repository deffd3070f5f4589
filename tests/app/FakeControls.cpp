#include "FakeControls.h"

#include <QString>

namespace {
std::string Narrow(const char16_t* text) {
    return text ? QString::fromUtf16(text).toStdString() : std::string("(null)");
}

class RecordingSkin final : public ComObject<RecordingSkin, ISkin> {
public:
    explicit RecordingSkin(ControlCalls& calls) : m_calls(calls) {}

    HRESULT QueryInterface(const IID& riid, void** ppvObject) override {
        if (riid == IID_ISkin && !m_calls.offerSkinInterface) {
            *ppvObject = nullptr;
            return E_NOINTERFACE;
        }
        return QueryFor(riid, ppvObject, {IID_ISkin});
    }
    HRESULT LoadSkin(const BSTR& path) override {
        m_calls.calls.push_back("load " + QString::fromStdU16String(path).toStdString());
        return m_calls.loadResult;
    }
    HRESULT ApplySkin(HWND window) override {
        m_calls.calls.push_back(std::string("apply ") + (window ? "window" : "(null)"));
        return m_calls.applyResult;
    }
    HRESULT SetSkinElement(HWND control, const char16_t* element) override {
        m_calls.calls.push_back("element " +
                                (control ? control->objectName().toStdString() : "(null)") + " " +
                                Narrow(element));
        return S_OK;
    }

private:
    ControlCalls& m_calls;
};

class RecordingSplash final : public ComObject<RecordingSplash, IDispatch> {
public:
    explicit RecordingSplash(ControlCalls& calls) : m_calls(calls) {}

    HRESULT QueryInterface(const IID& riid, void** ppvObject) override {
        return QueryFor(riid, ppvObject, {IID_IDispatch});
    }
    HRESULT Invoke(DISPID dispid, std::uint16_t, const std::vector<VARIANT>& args,
                   VARIANT*) override {
        std::string call = "splash " + std::to_string(dispid);
        for (const VARIANT& arg : args) {
            if (const auto* text = std::get_if<BSTR>(&arg)) {
                call += " " + QString::fromStdU16String(*text).toStdString();
            } else if (const auto* number = std::get_if<std::int32_t>(&arg)) {
                call += " " + std::to_string(*number);
            }
        }
        m_calls.calls.push_back(call);
        return S_OK;
    }

private:
    ControlCalls& m_calls;
};

template <class Object>
HostedControl Host(QWidget* parent, ControlCalls& calls) {
    auto object = Object::Create(calls);
    ComPtr<IUnknown> unknown;
    object->QueryInterface(IID_IUnknown, unknown.ReceiveVoid());
    auto* widget = new QWidget(parent);
    // The widget keeps its object alive as long as the dialog hosts it.
    QObject::connect(widget, &QObject::destroyed, [keep = unknown] {});
    return {widget, unknown};
}
}  // namespace

void RegisterRecordingControls(ControlRegistry& registry, ControlCalls& calls) {
    registry.Register(CLSID_Skin,
                      [&calls](QWidget* parent) { return Host<RecordingSkin>(parent, calls); });
    registry.Register(CLSID_Splash,
                      [&calls](QWidget* parent) { return Host<RecordingSplash>(parent, calls); });
}
