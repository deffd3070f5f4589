#pragma once

// A stand-in for the main window: the controls that the skin draws, at the
// places the window puts them, each named by its element.

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <vector>

struct SampleButton {
    const char16_t* element;
    QRect geometry;
};

// The nine elements in the order the window binds them.
const std::vector<SampleButton>& SampleButtons();

class SampleWindow : public QWidget {
public:
    SampleWindow();
    QPushButton& Button(QStringView element) const;
    QPlainTextEdit& Edit() const { return *m_edit; }
    QLabel& Picture() const { return *m_picture; }
    // The visibility of the two views, as the window switches them.
    void ShowImageView();
    void ShowMessageView();

private:
    QPlainTextEdit* m_edit;
    QLabel* m_picture;
};
