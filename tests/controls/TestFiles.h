#pragma once

// Small skin and splash files for the tests, written under a temporary folder.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A valid skin with one face and two elements: "Plain" and "Follower", which
// is drawn selected while "Plain" is shown.
QByteArray MinimalSkin();
// A valid splash file that stays for `milliseconds`.
QByteArray MinimalSplash(int milliseconds = 200);

class TestFolder {
public:
    // Writes `bytes` to a file `name` in the folder and gives its path.
    QString Write(const QString& name, const QByteArray& bytes) const;
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
