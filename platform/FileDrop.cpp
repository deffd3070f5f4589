#include "FileDrop.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "DropFiles.h"

namespace {
class FileDragPasser final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                if (DraggedFiles(drop->mimeData()).empty())
                    return false;
                // Declined here, the drag goes on to the control's parents.
                drop->ignore();
                return true;
            }
            default:
                return false;
        }
    }
};
}  // namespace

std::vector<CString> DraggedFiles(const QMimeData* mime) {
    std::vector<CString> files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            files.emplace_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return files;
}

void PassFileDragsToWindow(QWidget* control) {
    // Once for each control, however often its window starts taking files.
    static const QString kPasserName = QStringLiteral("veilnote.fileDragPasser");
    if (control->findChild<QObject*>(kPasserName, Qt::FindDirectChildrenOnly))
        return;
    auto* passer = new FileDragPasser(control);
    passer->setObjectName(kPasserName);
    control->installEventFilter(passer);
}

UINT DragQueryFile(HDROP drop, UINT file, CString* path) {
    if (!drop)
        return 0;
    if (file == kDragQueryCount)
        return static_cast<UINT>(drop->files.size());
    if (file >= drop->files.size())
        return 0;
    const CString& name = drop->files[file];
    if (path)
        *path = name;
    return static_cast<UINT>(name.GetLength());
}
