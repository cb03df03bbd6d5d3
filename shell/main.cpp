// Quillnote: the program. Option --home DIR chooses the program folder.
#include <QApplication>

#include "Form1.h"
#include "ProgramFolder.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillnote"));
    qn::Form1 form(qn::ProgramFolder());
    form.show();
    return app.exec();
}
