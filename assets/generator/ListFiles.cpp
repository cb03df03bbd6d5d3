#include "ListFiles.h"

#include "Output.h"

#include <iconv.h>

namespace assetgen {

namespace {

// glibc's converter: it refuses a character GBK lacks instead of substituting,
// and this Qt may be built without a GBK codec.
QByteArray ToGbk(const QString& text) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw AssetError("no GBK encoder available");
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 16, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = static_cast<size_t>(in.size()), dstLeft = static_cast<size_t>(out.size());
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r != 0 || srcLeft != 0)
        throw AssetError(QStringLiteral("cannot encode in GBK: %1").arg(text));
    out.truncate(out.size() - static_cast<int>(dstLeft));
    return out;
}

}  // namespace

QByteArray EncodeListFile(const QStringList& entries) {
    QByteArray out;
    for (const QString& e : entries) {
        out += ToGbk(e);
        out += "\r\n";
    }
    return out;
}

void WriteListFiles(const QString& dir) {
    const QStringList speed = {
        QStringLiteral("慢板"),       QStringLiteral("广板"),       QStringLiteral("柔板"),
        QStringLiteral("行板"),       QStringLiteral("小行板"),     QStringLiteral("中板"),
        QStringLiteral("小快板"),     QStringLiteral("快板"),       QStringLiteral("急板"),
        QStringLiteral("稍慢"),       QStringLiteral("稍快"),       QStringLiteral("自由地"),
        QStringLiteral("每分钟60拍"), QStringLiteral("每分钟72拍"), QStringLiteral("每分钟88拍"),
        QStringLiteral("每分钟96拍"), QStringLiteral("每分钟120拍"),
    };
    const QStringList explin = {
        QStringLiteral("渐强"),     QStringLiteral("渐弱"),     QStringLiteral("渐快"),
        QStringLiteral("渐慢"),     QStringLiteral("稍慢"),     QStringLiteral("稍快"),
        QStringLiteral("回原速"),   QStringLiteral("反复记号"), QStringLiteral("从头反复"),
        QStringLiteral("反复两遍"), QStringLiteral("结束"),     QStringLiteral("间奏"),
        QStringLiteral("前奏"),     QStringLiteral("尾声"),     QStringLiteral("深情地"),
        QStringLiteral("欢快地"),   QStringLiteral("优美地"),   QStringLiteral("有力地"),
        QStringLiteral("轻声地"),   QStringLiteral("强"),       QStringLiteral("弱"),
        QStringLiteral("中强"),     QStringLiteral("中弱"),     QStringLiteral("D.C."),
        QStringLiteral("D.S."),     QStringLiteral("Fine"),     QStringLiteral("rit."),
        QStringLiteral("a tempo"),  QStringLiteral("mf"),       QStringLiteral("mp"),
        QStringLiteral("f"),        QStringLiteral("p"),        QStringLiteral("ff"),
        QStringLiteral("pp"),
    };
    WriteBytes(EncodeListFile(speed), dir + "/speed.txt");
    WriteBytes(EncodeListFile(explin), dir + "/explin.txt");
}

}  // namespace assetgen
