#include "KeyTable.h"

#include <algorithm>
#include <unordered_map>

#include "KeyHandler.h"

namespace qn {

namespace {

using G = KeyGroup;
using C = KeyCommand;

KeyEntry Symbol(Integer key, G group, Integer code, const char16_t* what, Integer half = 0, Integer band = 0) {
    return {key, group, C::None, code, half ? half : code, band, 0, what};
}
KeyEntry Command(Integer key, G group, C command, const char16_t* what, Integer slot = 0) {
    return {key, group, command, 0, 0, 0, slot, what};
}

std::vector<KeyEntry> MakeTable() {
    std::vector<KeyEntry> t = {
        // The command keys, in the dispatch's order.
        Command(71, G::Modes, C::ChordAtCaret, u"按住：和弦写在光标处"),
        Command(75, G::Modes, C::ToggleChordMode, u"音符 / 和弦输入切换"),
        Command(80, G::Editing, C::NewScoreDialog, u"新乐谱的标题、调号、拍号、速度"),
        Command(76, G::Editing, C::Slur, u"连音线：先标起点，再按一次画线"),
        Command(vk::Delete, G::Editing, C::DeleteOverlay, u"隐藏选中的文字或图片"),
        // O keeps a rest as its symbol, reached only by direct calls of MapKeyToSymbol.
        {79, G::Editing, C::GraceNote, 35, 35, 0, 0, u"倚音"},
        Command(70, G::Editing, C::PictureInsert, u"在光标处插入图片"),
        Command(68, G::Editing, C::TextInsert, u"在光标处插入文字"),
        Command(vk::Enter, G::Editing, C::NewLine, u"换行"),
        Command(vk::Insert, G::Modes, C::ToggleInsert, u"插入 / 改写切换"),
        Command(vk::Esc, G::Rhythm, C::NextNoteValue, u"下一个节奏型（在勾选的节奏型中轮换）"),
        Command(vk::PageUp, G::Rhythm, C::FewerBeams, u"少一条减时线"),
        Command(vk::PageDown, G::Rhythm, C::MoreBeams, u"多一条减时线"),
        Command(100, G::Modes, C::KeypadHeld, u"按住：和弦加小字 4", 4),
        Command(101, G::Modes, C::KeypadHeld, u"按住：和弦加 +", 5),
        Command(102, G::Modes, C::KeypadHeld, u"按住：和弦加 -", 6),
        Command(103, G::Modes, C::KeypadHeld, u"按住：和弦加小字 7", 7),
        Command(104, G::Modes, C::KeypadHeld, u"按住：和弦加 MIN / MAX", 8),
        Command(105, G::Modes, C::KeypadHeld, u"按住：和弦加小字 9 与 MIN / MAX", 9),
        Command(vk::Add, G::Modes, C::KeypadHeld, u"按住：和弦加 +", 5),
        Command(vk::Subtract, G::Modes, C::KeypadHeld, u"按住：和弦加 -", 6),
        Command(96, G::Rhythm, C::NoteValue, u"四分音符", 0),
        Command(97, G::Rhythm, C::NoteValue, u"八分音符（一条减时线）", 1),
        Command(98, G::Rhythm, C::NoteValue, u"十六分音符（两条减时线）", 2),
        Command(99, G::Rhythm, C::NoteValue, u"三十二分音符（三条减时线）", 3),
        Command(vk::Left, G::Editing, C::Arrow, u"光标或选中的对象左移（Shift 微移，Ctrl 大步）"),
        Command(vk::Up, G::Editing, C::Arrow, u"光标或选中的对象上移（Shift 微移，Ctrl 大步）"),
        Command(vk::Right, G::Editing, C::Arrow, u"光标或选中的对象右移（Shift 微移，Ctrl 大步）"),
        Command(vk::Down, G::Editing, C::Arrow, u"光标或选中的对象下移（Shift 微移，Ctrl 大步）"),
        Command(83, G::Modes, C::ToggleWidth, u"全字符 / 半字符切换"),

        // The keys that write a symbol.
        Symbol(49, G::Notes, 14, u"1"), Symbol(50, G::Notes, 15, u"2"), Symbol(51, G::Notes, 16, u"3"),
        Symbol(52, G::Notes, 17, u"4"), Symbol(53, G::Notes, 18, u"5"), Symbol(54, G::Notes, 19, u"6"),
        Symbol(55, G::Notes, 20, u"7"),
        Symbol(73, G::Notes, 14, u"1"),
        Symbol(90, G::Notes, 36, u"冬"), Symbol(88, G::Notes, 37, u"X"), Symbol(67, G::Notes, 38, u"仓"),
        Symbol(86, G::Notes, 39, u"次"), Symbol(66, G::Notes, 40, u"板"),
        Symbol(56, G::Octaves, 21, u"高音 1"),
        Symbol(81, G::Octaves, 7, u"低音 1"), Symbol(87, G::Octaves, 8, u"低音 2"),
        Symbol(69, G::Octaves, 9, u"低音 3"), Symbol(82, G::Octaves, 10, u"低音 4"),
        Symbol(84, G::Octaves, 11, u"低音 5"), Symbol(89, G::Octaves, 12, u"低音 6"),
        Symbol(85, G::Octaves, 13, u"低音 7"),
        Symbol(vk::Semicolon, G::Rhythm, 35, u"休止符 0"),
        Symbol(vk::Minus, G::Rhythm, 41, u"增时线"), Symbol(vk::Backquote, G::Rhythm, 41, u"增时线"),
        Symbol(vk::Period, G::Rhythm, 115, u"附点"),
        Symbol(65, G::BarLines, 101, u"小节线"), Symbol(72, G::BarLines, 101, u"小节线"),
        Symbol(vk::LeftBracket, G::BarLines, 102, u"反复开始"),
        Symbol(vk::RightBracket, G::BarLines, 103, u"反复结束"),
        Symbol(vk::Backslash, G::BarLines, 104, u"终止线"),
        Symbol(vk::Apostrophe, G::BarLines, 105, u"双小节线"),
        Symbol(78, G::Accidentals, 201, u"还原号", 0, 2),
        Symbol(77, G::Accidentals, 202, u"升号", 0, 2),
        Symbol(vk::Comma, G::Accidentals, 203, u"降号", 0, 2),
        Symbol(57, G::Accidentals, 113, u"左括号", 209), Symbol(48, G::Accidentals, 114, u"右括号", 210),
        Symbol(vk::Space, G::Editing, 100, u"空格", 200),
        Symbol(vk::Backspace, G::Editing, 999, u"擦去光标左边的一格"),
    };
    // F1 to F7: 1 to 7 with one dot above; F8 to F12: 1 to 5 with two dots above.
    static const char16_t* const fkeys[12] = {u"高音 1", u"高音 2", u"高音 3", u"高音 4", u"高音 5",
                                              u"高音 6", u"高音 7", u"倍高音 1", u"倍高音 2",
                                              u"倍高音 3", u"倍高音 4", u"倍高音 5"};
    for (Integer k = vk::F1; k <= vk::F12; ++k)
        t.push_back(Symbol(k, G::Octaves, Integer(k - 91), fkeys[k - vk::F1]));
    return t;
}

}  // namespace

const std::vector<KeyEntry>& PageKeys() {
    static const std::vector<KeyEntry> table = MakeTable();
    return table;
}

const KeyEntry* FindPageKey(Integer keyCode) {
    static const std::unordered_map<Integer, const KeyEntry*> index = [] {
        std::unordered_map<Integer, const KeyEntry*> m;
        for (const KeyEntry& e : PageKeys()) m.emplace(e.keyCode, &e);
        return m;
    }();
    const auto it = index.find(keyCode);
    return it == index.end() ? nullptr : it->second;
}

std::vector<KeyChartRow> KeyChartRows() {
    const auto same = [](const KeyEntry& a, const KeyEntry& b) {
        return a.command == b.command && a.symbol == b.symbol && a.halfSymbol == b.halfSymbol &&
               a.slot == b.slot && QString::fromUtf16(a.what) == QString::fromUtf16(b.what);
    };
    std::vector<KeyChartRow> out;
    for (KeyGroup g : {G::Notes, G::Octaves, G::Rhythm, G::BarLines, G::Accidentals, G::Editing, G::Modes}) {
        std::vector<const KeyEntry*> rows;
        for (const KeyEntry& e : PageKeys())
            if (e.group == g) rows.push_back(&e);
        std::stable_sort(rows.begin(), rows.end(), [](const KeyEntry* a, const KeyEntry* b) {
            return (a->command == C::None) > (b->command == C::None);
        });
        const size_t first = out.size();
        for (const KeyEntry* e : rows) {
            auto it = std::find_if(out.begin() + long(first), out.end(),
                                   [&](const KeyChartRow& r) { return same(*r.entry, *e); });
            if (it != out.end())
                it->keys.push_back(e->keyCode);
            else
                out.push_back({g, {e->keyCode}, e});
        }
    }
    return out;
}

QString KeyName(Integer k) {
    if ((k >= 48 && k <= 57) || (k >= 65 && k <= 90)) return QString(QChar(k));
    if (k >= vk::F1 && k <= vk::F12) return QStringLiteral("F%1").arg(k - vk::F1 + 1);
    if (k >= 96 && k <= 105) return QStringLiteral("小键盘 %1").arg(k - 96);
    switch (k) {
    case vk::Backspace: return QStringLiteral("Backspace");
    case vk::Enter: return QStringLiteral("Enter");
    case vk::Esc: return QStringLiteral("Esc");
    case vk::Space: return QStringLiteral("空格键");
    case vk::PageUp: return QStringLiteral("Page Up");
    case vk::PageDown: return QStringLiteral("Page Down");
    case vk::Left: return QStringLiteral("←");
    case vk::Up: return QStringLiteral("↑");
    case vk::Right: return QStringLiteral("→");
    case vk::Down: return QStringLiteral("↓");
    case vk::Insert: return QStringLiteral("Insert");
    case vk::Delete: return QStringLiteral("Delete");
    case vk::Add: return QStringLiteral("小键盘 +");
    case vk::Subtract: return QStringLiteral("小键盘 -");
    case vk::Semicolon: return QStringLiteral(";");
    case vk::Comma: return QStringLiteral(",");
    case vk::Minus: return QStringLiteral("-");
    case vk::Period: return QStringLiteral(".");
    case vk::Backquote: return QStringLiteral("`");
    case vk::LeftBracket: return QStringLiteral("[");
    case vk::Backslash: return QStringLiteral("\\");
    case vk::RightBracket: return QStringLiteral("]");
    case vk::Apostrophe: return QStringLiteral("'");
    default: return QStringLiteral("#%1").arg(k);
    }
}

QString KeyGroupName(KeyGroup group) {
    switch (group) {
    case G::Notes: return QStringLiteral("音符");
    case G::Octaves: return QStringLiteral("八度");
    case G::Rhythm: return QStringLiteral("节奏");
    case G::BarLines: return QStringLiteral("小节线与反复");
    case G::Accidentals: return QStringLiteral("升降号与括号");
    case G::Editing: return QStringLiteral("编辑");
    case G::Modes: return QStringLiteral("模式");
    }
    return QString();
}

bool KeyReadsShiftState(Integer keyCode) {
    const KeyEntry* e = FindPageKey(keyCode);
    return e && e->command == C::Arrow;
}

}  // namespace qn
