// quillnote_mangen <template> <output>
//
// Writes the manual page: the template with its KEYS section made from the
// page's key table, the same table the key chart and the key handler read.

#include <QFile>
#include <QString>
#include <cstdio>

#include "KeyTable.h"

namespace {

// Roff text: backslashes and hyphens escaped, no control character at a line's start.
QString Roff(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\e"));
    out.replace(QLatin1Char('-'), QLatin1String("\\-"));
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\''))) out.prepend(QLatin1String("\\&"));
    return out;
}

QString KeysSection() {
    QString roff;
    const std::vector<qn::KeyChartRow> rows = qn::KeyChartRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const qn::KeyChartRow& row = rows[i];
        if (i == 0 || rows[i - 1].group != row.group) roff += ".SS " + qn::KeyGroupName(row.group) + "\n";
        QStringList keys;
        for (qn::Integer k : row.keys) keys << "\\fB" + Roff(qn::KeyName(k)) + "\\fR";
        roff += ".TP\n" + keys.join(QLatin1String(", ")) + "\n" + Roff(QString::fromUtf16(row.entry->what)) + "\n";
    }
    return roff;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillnote_mangen <template> <output>\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "quillnote_mangen: cannot read %s\n", argv[1]);
        return 1;
    }
    QString page = QString::fromUtf8(in.readAll());
    if (!page.contains(QLatin1String("@QUILLNOTE_KEYS@"))) {
        std::fprintf(stderr, "quillnote_mangen: %s has no @QUILLNOTE_KEYS@\n", argv[1]);
        return 1;
    }
    page.replace(QLatin1String("@QUILLNOTE_KEYS@\n"), KeysSection());
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(page.toUtf8()) < 0) {
        std::fprintf(stderr, "quillnote_mangen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
