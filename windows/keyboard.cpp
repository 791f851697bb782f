#include "windows/keyboard.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

namespace gq
{

namespace
{
// Geometry in pixels. Keys sit on a grid of rows below the message line and
// the edit line; the number pad is 180 pixels wide, the parameter column adds
// 40 and the formula area (variables, selector, function panels) 128, so the
// window width of each layout shows exactly its groups.
constexpr int kMargin = 4;
constexpr int kKeysTop = 50;
constexpr int kRowPitch = 28;
constexpr int kKeyHeight = 26;
constexpr int kPadLeft = 4, kPadPitch = 35, kPadKeyWidth = 34;
constexpr int kParamLeft = 182, kParamKeyWidth = 34;
constexpr int kFormulaLeft = 222, kFormulaPitch = 41, kFormulaKeyWidth = 39;
constexpr int kPanelPitch = 62, kPanelKeyWidth = 60, kPanelTopRow = 4;

int rowTop(int row)
{
    return kKeysTop + row * kRowPitch;
}

int windowHeight(int layout)
{
    return rowTop(layout == 2 ? 6 : 10) + 2;
}

// Cell of a key of the formula area that is not on a function panel.
QRect formulaCell(std::string_view name)
{
    static constexpr std::pair<std::string_view, int> cells[] = {
        {"x", 0},     {"y", 1},     {"z", 2},     {"t", 3},   {"i", 4},    {"delivop", 5},
        {"small", 6}, {"large", 7}, {"equal", 8}, {"cap", 9}, {"cup", 10},
    };
    for (auto [cellName, index] : cells)
        if (cellName == name)
            return {kFormulaLeft + (index % 3) * kFormulaPitch, rowTop(index / 3), kFormulaKeyWidth,
                    kKeyHeight};
    return {};
}
} // namespace

// --- CaretLine -------------------------------------------------------------

CaretLine::CaretLine(QWidget *parent) : QLineEdit(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu); // no paste, cut, undo
    setAcceptDrops(false);
    setDragEnabled(false);
}

void CaretLine::keyPressEvent(QKeyEvent *event)
{
    // Copying is harmless; everything else is decided by the keyboard window.
    if (event->matches(QKeySequence::Copy)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (onKey && onKey(event)) {
        event->accept();
        return;
    }
    event->ignore();
}

void CaretLine::inputMethodEvent(QInputMethodEvent *event)
{
    // Only committed text counts; a composition in progress is not shown.
    if (onText && !event->commitString().isEmpty())
        onText(event->commitString());
    event->accept();
}

void CaretLine::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) // X11 selection paste
        return;
    QLineEdit::mouseReleaseEvent(event);
}

// --- FormulaKeyboard -------------------------------------------------------

FormulaKeyboard::FormulaKeyboard(QWidget *mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("keyfunc"));
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("Label1"));
    messageLabel_->setStyleSheet(QStringLiteral("color: red;"));
    edit_ = new CaretLine(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    connect(edit_, &QLineEdit::cursorPositionChanged, this, &FormulaKeyboard::lineCaretMoved);
    edit_->onKey = [this](QKeyEvent *event) { return lineKeyPressed(event); };
    edit_->onText = [this](const QString &text) { lineTextTyped(text); };
    // Should anything slip past CaretLine's filters, the line is put back.
    connect(edit_, &QLineEdit::textEdited, this, &FormulaKeyboard::showLine);

    functionPanelSpin_ = new QSpinBox(this);
    functionPanelSpin_->setObjectName(QStringLiteral("UpDown1"));
    functionPanelSpin_->setRange(0, 2);
    functionPanelSpin_->setValue(1);
    functionPanelSpin_->setFocusPolicy(Qt::NoFocus);
    functionPanelSpin_->setToolTip(QStringLiteral("関数を切り替えます"));
    functionPanelSpin_->setGeometry(kFormulaLeft + 2 * kFormulaPitch, rowTop(3), kFormulaKeyWidth,
                                    kKeyHeight);
    connect(functionPanelSpin_, &QSpinBox::valueChanged, this, &FormulaKeyboard::functionPanelChanged);

    buildKeys();
    prepare(KeyboardRequest{});
}

void FormulaKeyboard::buildKeys()
{
    int pad = 0, param = 0, panel[3] = {0, 0, 0};
    for (const KeyDef &key : keyTable()) {
        auto *button = new QPushButton(QString::fromUtf8(key.caption), this);
        button->setObjectName(QString::fromUtf8(key.name));
        if (*key.hint)
            button->setToolTip(QString::fromUtf8(key.hint));
        button->setFocusPolicy(Qt::NoFocus); // the edit line keeps the focus
        button->setAutoDefault(false);
        std::string_view name = key.name;
        QRect cell;
        switch (key.group) {
        case KeyGroup::NumberPad:
        case KeyGroup::Editing:
            if (name == "syuu") {
                cell = {kPadLeft, rowTop(5), 4 * kPadPitch + kPadKeyWidth, kKeyHeight};
            } else {
                cell = {kPadLeft + (pad % 5) * kPadPitch, rowTop(pad / 5), kPadKeyWidth, kKeyHeight};
                ++pad;
            }
            break;
        case KeyGroup::Parameters:
            cell = {kParamLeft, rowTop(param++), kParamKeyWidth, kKeyHeight};
            break;
        case KeyGroup::Panel0:
        case KeyGroup::Panel1:
        case KeyGroup::Panel2: {
            int &n = panel[static_cast<int>(key.group) - static_cast<int>(KeyGroup::Panel0)];
            cell = {kFormulaLeft + (n % 2) * kPanelPitch, rowTop(kPanelTopRow + n / 2), kPanelKeyWidth,
                    kKeyHeight};
            ++n;
            break;
        }
        default:
            cell = formulaCell(name);
        }
        button->setGeometry(cell);

        if (name == "lshift")
            connect(button, &QPushButton::clicked, this, &FormulaKeyboard::caretLeftClicked);
        else if (name == "Rshift")
            connect(button, &QPushButton::clicked, this, &FormulaKeyboard::caretRightClicked);
        else if (name == "Bs")
            connect(button, &QPushButton::clicked, this, &FormulaKeyboard::backspaceClicked);
        else if (name == "Del")
            connect(button, &QPushButton::clicked, this, &FormulaKeyboard::deleteClicked);
        else if (name == "Ac")
            connect(button, &QPushButton::clicked, this, &FormulaKeyboard::clearClicked);
        else if (name == "syuu") {
            button->setDefault(true); // Return accepts
            connect(button, &QPushButton::clicked, this, &FormulaKeyboard::finishClicked);
        } else
            connect(button, &QPushButton::clicked, this, [this, &key] { insertKey(key); });
        keys_.emplace_back(&key, button);
    }
}

void FormulaKeyboard::prepare(const KeyboardRequest &request)
{
    layout_ = normalisedLayout(request.layout);
    setWindowTitle(request.caption);
    messageLabel_->setText(request.message);
    line_.setText(request.initialText);
    showLine();
    for (auto &[key, button] : keys_)
        button->setEnabled(keyEnabled(*key, request));
    typing_ = TypingRules(layout_, request);
    applyLayout();
}

std::string FormulaKeyboard::ask(const KeyboardRequest &request)
{
    prepare(request);
    edit_->setFocus();
    exec();
    return result_;
}

void FormulaKeyboard::applyLayout()
{
    int width = layoutWidth(layout_);
    int height = windowHeight(layout_);
    setFixedSize(width, height);
    messageLabel_->setGeometry(kMargin, 2, width - 2 * kMargin, 16);
    edit_->setGeometry(kMargin, 20, width - 2 * kMargin, 24);
    showReachableKeys();

    QPoint mainTopLeft = parentWidget() ? parentWidget()->frameGeometry().topLeft() : QPoint(0, 0);
    QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    int screenHeight = where ? where->geometry().height() : 480;
    move(keyboardPosition(mainTopLeft, layout_, screenHeight, height));
}

void FormulaKeyboard::showReachableKeys()
{
    functionPanelSpin_->setVisible(layout_ == 1);
    for (auto &[key, button] : keys_)
        button->setVisible(keyReachable(key->group, layout_, functionPanelSpin_->value()));
}

QString FormulaKeyboard::message() const
{
    return messageLabel_->text();
}

int FormulaKeyboard::panelPosition() const
{
    return functionPanelSpin_->value();
}

void FormulaKeyboard::setPanelPosition(int position)
{
    functionPanelSpin_->setValue(position);
}

void FormulaKeyboard::showLine()
{
    showing_ = true;
    edit_->setText(formulaDisplayText(line_.Text()));
    edit_->setCursorPosition(line_.caret());
    showing_ = false;
    result_ = line_.Text();
}

void FormulaKeyboard::lineCaretMoved(int, int newPosition)
{
    if (!showing_) // placed by the user with the mouse or an arrow key
        line_.setCaret(newPosition);
}

void FormulaKeyboard::insertKey(const KeyDef &key)
{
    if (*key.inserts)
        line_.insert(key.inserts, key.advance);
    showLine();
    edit_->setFocus();
}

void FormulaKeyboard::caretLeftClicked()
{
    line_.caretBack();
    showLine();
    edit_->setFocus();
}

void FormulaKeyboard::caretRightClicked()
{
    line_.caretForward();
    showLine();
    edit_->setFocus();
}

void FormulaKeyboard::backspaceClicked()
{
    line_.deleteBefore();
    showLine();
    edit_->setFocus();
}

void FormulaKeyboard::deleteClicked()
{
    line_.deleteAfter();
    showLine();
    edit_->setFocus();
}

void FormulaKeyboard::clearClicked()
{
    line_.clear();
    showLine();
    edit_->setFocus();
}

void FormulaKeyboard::finishClicked()
{
    edit_->setFocus();
    result_ = line_.Text();
    ClosingCheck check = checkClosingText(result_);
    if (check == ClosingCheck::Empty || check == ClosingCheck::Accepted) {
        accept();
        return;
    }
    messageLabel_->setText(closingMessage(check));
}

void FormulaKeyboard::functionPanelChanged(int)
{
    showReachableKeys();
    edit_->setFocus();
}

bool FormulaKeyboard::lineKeyPressed(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        caretLeftClicked();
        return true;
    case Qt::Key_Right:
        caretRightClicked();
        return true;
    case Qt::Key_Home:
        line_.setCaret(0);
        showLine();
        return true;
    case Qt::Key_End:
        line_.setCaret(line_.length());
        showLine();
        return true;
    case Qt::Key_Backspace:
        backspaceClicked();
        return true;
    case Qt::Key_Delete:
        deleteClicked();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    // A refused character is swallowed: the line stays as it was.
    lineTextTyped(event->text());
    return true;
}

void FormulaKeyboard::lineTextTyped(const QString &text)
{
    if (text.isEmpty())
        return;
    // Typed as one piece: text an input method commits goes in whole or not
    // at all.
    typing_.typeAll(line_, text.toStdU32String());
    showLine();
}

void FormulaKeyboard::reject()
{
    // The close box and Escape cancel: the caller must not receive a text the
    // user walked away from, checked or not.
    result_.clear();
    QDialog::reject();
}

std::string readNumber(Questions &questions, const QString &prompt, int layout, const QString &message,
                       bool *wasEmpty)
{
    KeyboardRequest request;
    request.caption = prompt;
    request.layout = layout;
    request.message = message;
    std::string text = questions.askKeyboard(request);
    if (wasEmpty)
        *wasEmpty = text.empty();
    return text.empty() ? std::string("0") : text;
}

} // namespace gq
