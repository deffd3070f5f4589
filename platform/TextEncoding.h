#pragma once

#include <string>

#include <QString>

// Shows 8-bit text: UTF-8 when the bytes are valid UTF-8, otherwise
// Windows-1252, so that text written in a Western 8-bit code page still shows
// its accented letters.
QString BytesToDisplayText(const std::string& bytes);

// The bytes of text that the user typed: UTF-8.
std::string DisplayTextToBytes(const QString& text);

bool IsValidUtf8(const std::string& bytes);

class QWidget;

// Text shown in a control keeps the bytes it came from, so that text the user
// did not edit goes back byte for byte, whatever display made of it.
void RememberShownBytes(QWidget* control, const std::string& bytes, const QString& shown);
// The remembered bytes when `shown` is still what was shown, else its UTF-8.
std::string BytesForShownText(const QWidget* control, const QString& shown);
