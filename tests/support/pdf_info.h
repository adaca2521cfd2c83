// A text of a PDF's Info dictionary (/Title, /Creator) as the toolkit writes it: a literal string
// of UTF-16BE after the byte-order mark FE FF, with "(", ")" and "\" escaped by a backslash.
#pragma once

#include <QByteArray>
#include <QString>

namespace tovimar::testing {

// The text under `key` ("/Title"), or a text saying why there is none.
inline QString PdfInfoText(const QByteArray& pdf, const char* key) {
    const qsizetype at = pdf.indexOf(QByteArray(key) + " (\xFE\xFF");
    if (at < 0)
        return QStringLiteral("<no %1 in UTF-16>").arg(QLatin1String(key));
    QByteArray utf16;
    for (qsizetype i = at + qsizetype(qstrlen(key)) + 4; i < pdf.size() && pdf[i] != ')'; ++i)
        utf16 += pdf[pdf[i] == '\\' ? ++i : i];
    if (utf16.size() % 2 != 0)
        return QStringLiteral("<odd number of bytes>");
    QString text;
    for (qsizetype i = 0; i < utf16.size(); i += 2)
        text += QChar(char16_t((uchar(utf16[i]) << 8) | uchar(utf16[i + 1])));
    return text;
}

}  // namespace tovimar::testing
