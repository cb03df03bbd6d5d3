#include "ListFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "RegularFile.h"

namespace qn {

namespace {

QString decodeGbk(const QByteArray& bytes)
{
    QStringDecoder decoder("GBK");
    if (!decoder.isValid())
        return QString::fromLocal8Bit(bytes);
    return decoder.decode(bytes);
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
bool isSeparator(QChar c) { return c == u',' || isLineEnd(c); }

}  // namespace

QStringList ParseListFields(const QByteArray& gbkText)
{
    const QString text = decodeGbk(gbkText);
    const qsizetype n = text.size();
    QStringList fields;
    qsizetype i = 0;
    bool afterComma = false;  // a comma has opened a field not yet read

    auto skipLineEnd = [&] {
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        ++i;
    };

    for (;;) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n) {
            if (afterComma)
                fields.append(QString());
            break;
        }
        if (isLineEnd(text[i])) {
            if (afterComma)
                fields.append(QString());
            afterComma = false;
            skipLineEnd();
            continue;
        }

        QString field;
        if (text[i] == u'"') {
            const qsizetype start = i + 1;
            qsizetype close = text.indexOf(u'"', start);
            if (close < 0)
                close = n;
            field = text.mid(start, close - start);
            i = close < n ? close + 1 : n;
            while (i < n && !isSeparator(text[i]))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && !isSeparator(text[i]))
                ++i;
            qsizetype end = i;
            while (end > start && isBlank(text[end - 1]))
                --end;
            field = text.mid(start, end - start);
        }
        fields.append(field);

        afterComma = false;
        if (i < n) {
            if (text[i] == u',') {
                afterComma = true;
                ++i;
            } else {
                skipLineEnd();
            }
        }
    }
    return fields;
}

ListReadResult ReadListFile(const QString& path)
{
    ListReadResult result;
    const RegularFileRead read = ReadRegularFile(QDir::toNativeSeparators(path), kMaxListFileSize);
    if (!read.error.isEmpty()) {
        result.error = read.error;
        return result;
    }
    result.entries = ParseListFields(read.bytes);
    return result;
}

}  // namespace qn
