// Which program folder the program uses: option, environment, executable's folder.
#include <gtest/gtest.h>

#include <QDir>

#include "ProgramFolder.h"

namespace qn {
namespace {

TEST(ProgramFolder, OptionWinsOverEnvironmentWhichWinsOverExecutableFolder) {
    struct Case { QStringList args; QString env; QString expected; };
    const QString exe = QStringLiteral("/opt/quillnote");
    const Case cases[] = {
        {{"quillnote"}, "", exe},
        {{"quillnote"}, "/srv/env", "/srv/env"},
        {{"quillnote", "--home", "/srv/opt"}, "/srv/env", "/srv/opt"},
        {{"quillnote", "--home=/srv/eq"}, "", "/srv/eq"},
        {{"quillnote", "--home", "/a", "--home", "/b"}, "", "/b"},
        // A dangling option names nothing: the next choice applies.
        {{"quillnote", "--home"}, "/srv/env", "/srv/env"},
        {{"quillnote", "/srv/not-an-option"}, "", exe},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveProgramFolder(c.args, c.env, exe), c.expected) << c.args.join(' ').toStdString();
}

TEST(ProgramFolder, RelativeFolderBecomesAbsolute) {
    const QString got = ResolveProgramFolder({"quillnote", "--home", "data/.."}, "", "/opt/q");
    EXPECT_EQ(got, QDir::cleanPath(QDir::currentPath()));
}

}  // namespace
}  // namespace qn
