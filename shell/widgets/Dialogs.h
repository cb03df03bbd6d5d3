#pragma once
// The modal dialogs the window asks the user with. Tests substitute their own.

#include <QColor>
#include <QString>

class QWidget;

namespace qn {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box titled "提示".
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // The colour dialog preset with colour; false when cancelled (colour unchanged).
    virtual bool ChooseColour(QWidget* parent, QColor& colour) = 0;
};

class StandardDialogs final : public Dialogs {
public:
    void Message(QWidget* parent, const QString& text) override;
    bool ChooseColour(QWidget* parent, QColor& colour) override;
};

}  // namespace qn
