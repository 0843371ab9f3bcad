#pragma once
#include "core/platform/pathText.h"
#include "core/storage/convert.h"

#include <QString>
#include <QTextDocument>
#include <filesystem>

// The windows speak QString; the core speaks Windows-1252 bytes (values) and UTF-8 (paths, errors).
inline QString FromCp(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}
inline std::string ToCp(const QString& text) {
    return Utf8ToCp1252Lossy(text.toStdString());
}
inline QString FromUtf8(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
inline QString FromPath(const std::filesystem::path& path) {
    return FromUtf8(PathToUtf8(path));
}
inline std::filesystem::path ToPath(const QString& text) {
    return PathFromUtf8(text.toStdString());
}

// Stored and quoted texts break lines the Windows way ("\r\n", and now and then a lone "\r"); the
// toolkit breaks them at "\n".
inline QString ShownLines(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// A tool tip takes rich text whenever its text looks like some: such a text from a file is escaped
// into rich text of its own, so it shows as written.
inline QString PlainToolTip(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(ShownLines(text), Qt::WhiteSpaceNormal)
                                     : text;
}
