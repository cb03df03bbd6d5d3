// Form1: the menu button "≡" beside "最小化", holding every command of the
// program with its shortcut, the key chart and "关于". The menu's actions are
// the window's shortcuts too; they take only Ctrl combinations, which the page
// does not use (it reads Ctrl only with the arrows).
#include <QAction>
#include <QMenu>

#include "Dialogs.h"
#include "Form1_Controls.h"
#include "KeyChart.h"

namespace qn {

std::vector<Form1::MenuEntry> Form1::MenuEntries() {
    using K = QKeySequence;
    return {
        {QStringLiteral("新建"), {}, [this] { Command1_Click(6); }},
        {QStringLiteral("打开"), {K(Qt::CTRL | Qt::Key_O)}, [this] { Command1_Click(0); }},
        {QStringLiteral("保存"), {K(Qt::CTRL | Qt::Key_S)}, [this] { Command1_Click(1); }},
        {QStringLiteral("另存为"), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, [this] { Command1_Click(2); }},
        {QStringLiteral("导入"), {K(Qt::CTRL | Qt::Key_I)}, [this] { ImportCommand(); }},
        {QString(), {}, {}},
        {QStringLiteral("导出"), {K(Qt::CTRL | Qt::Key_E)}, [this] { ExportPageCommand(); }},
        {QStringLiteral("批量导出图片"), {}, [this] { Command1_Click(3); }},
        {QStringLiteral("打印"), {K(Qt::CTRL | Qt::Key_P)}, [this] { PrintCommand(); }},
        {QString(), {}, {}},
        {QStringLiteral("撤销"), {K(Qt::CTRL | Qt::Key_Z)}, [this] { Undo(); }},
        {QStringLiteral("重做"), {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, [this] { Redo(); }},
        {QString(), {}, {}},
        {QStringLiteral("播放"), {K(Qt::CTRL | Qt::Key_R)}, [this] { PlayCommand(false); }},
        {QStringLiteral("从光标行播放"), {K(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}, [this] { PlayCommand(true); }},
        {QString(), {}, {}},
        // F1 alone writes a high 1 on the page, so the chart takes Ctrl+F1.
        {QStringLiteral("键盘速查"), {K(Qt::CTRL | Qt::Key_F1)}, [this] { ShowKeyChart(); }},
        {QStringLiteral("关于"), {}, [this] { ShowAbout(); }},
        {QString(), {}, {}},
        {QStringLiteral("退出"), {}, [this] { Command1_Click(5); }},
    };
}

void Form1::CreateCommandMenu() {
    Controls& c = *ui;
    c.MenuButton = new QPushButton(QStringLiteral("≡"), this);
    c.MenuButton->setObjectName(QStringLiteral("MenuButton"));
    c.MenuButton->setToolTip(QStringLiteral("菜单"));
    c.MenuButton->resize(kMenuButtonWidth, 20);
    // Never the focus: Space and Enter stay the page's.
    c.MenuButton->setFocusPolicy(Qt::NoFocus);
    c.MenuButton->raise();

    commandMenu_ = new QMenu(this);
    commandMenu_->setObjectName(QStringLiteral("CommandMenu"));
    for (const MenuEntry& entry : MenuEntries()) {
        if (entry.caption.isEmpty()) {
            commandMenu_->addSeparator();
            continue;
        }
        auto* action = new QAction(entry.caption, this);
        action->setShortcuts(entry.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        const auto run = entry.run;
        connect(action, &QAction::triggered, this, [this, run] {
            run();
            if (!closing_) FocusPage();
        });
        addAction(action);  // the shortcut works while the menu is closed
        commandMenu_->addAction(action);
    }
    // The print style follows "打印".
    const QList<QAction*> all = commandMenu_->actions();
    for (int i = 0; i + 1 < all.size(); ++i)
        if (all[i]->text() == QStringLiteral("打印")) CreatePrintStyleMenu(all[i + 1]);
    connect(c.MenuButton, &QPushButton::clicked, this, [this] {
        commandMenu_->popup(ui->MenuButton->mapToGlobal(QPoint(0, ui->MenuButton->height())));
    });
}

QList<QAction*> Form1::MenuActions() const {
    QList<QAction*> out;
    for (QAction* a : commandMenu_->actions())
        if (!a->isSeparator() && !a->menu()) out << a;
    return out;
}

void Form1::ShowKeyChart() {
    if (!keyChart_) keyChart_ = new KeyChart(*dialogs_, this);
    keyChart_->ScrollToTop();
    keyChart_->show();
    keyChart_->raise();
}

void Form1::ShowAbout() {
    const QString text = QStringLiteral(
        "<h3>Quillnote %1</h3>"
        "<p>简谱编辑器：用键盘输入简谱，即时得到排好的乐谱。</p>"
        "<p>使用的库与许可证：</p><ul>"
        "<li>Qt %2（Core、Gui、Widgets、PrintSupport、Multimedia）— LGPL-3.0</li>"
        "<li>FluidSynth — LGPL-2.1 或更新版本</li>"
        "<li>TimGM6mb SoundFont — GPL-2.0</li>"
        "<li>AR PL UMing 字体 — Arphic Public License</li>"
        "</ul>")
                             .arg(QStringLiteral(QUILLNOTE_VERSION), QString::fromLatin1(qVersion()));
    dialogs_->About(this, QStringLiteral("关于 Quillnote"), text);
}

}  // namespace qn
