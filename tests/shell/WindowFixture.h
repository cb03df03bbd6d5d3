#pragma once
// A main window on a program folder of its own, with dialogs that answer from
// prepared values. Tests write the folder's files first, then make the window.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "FakeDialogs.h"
#include "Form1.h"
#include "Form1_Controls.h"

namespace qn::test {

class WindowFixture : public ::testing::Test {
public:
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Two tempo words, three phrases and three library pictures "1.bmp".."3.bmp"
    // (9, 10 and 11 pixels wide, so each is told from the others by its size).
    void WriteListsAndLibrary() {
        ASSERT_TRUE(dir.isValid());
        Write("speed.txt", "Largo\r\nAdagio\r\n");
        Write("explin.txt", "rit.\r\na tempo\r\nD.C.\r\n");
        QDir(dir.path()).mkpath("s/sik");
        for (int i = 1; i <= 3; ++i) {
            QImage pic(8 + i, 10, QImage::Format_RGB32);
            pic.fill(QColor(0, 0, 40 * i));
            pic.save(Path(QStringLiteral("s/sik/%1.bmp").arg(i)), "BMP");
        }
    }
    Form1::Controls& ui() { return form->controls(); }
    void Type(std::initializer_list<Integer> keys) {
        for (Integer k : keys) form->Picture1_KeyDown(k, 0);
    }
    // A phrase or a picture chosen in its panel at the caret.
    void AddText(int phrase) {
        form->Picture1_KeyDown(68, 0);  // D
        ui().List1->setCurrentRow(phrase);
        form->Command5_Click();
    }
    void AddPicture(int file) {
        form->Picture1_KeyDown(70, 0);  // F
        ui().File1->setCurrentRow(file);
        form->File1_Click();
        form->Command8_Click();
    }
    void SaveAs(const QString& name) {
        dialogs.fileAnswers.push_back(Path(name));
        form->Command1_Click(2);
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;            // outlives the window that asks it
    std::unique_ptr<Form1> form;
};

}  // namespace qn::test
