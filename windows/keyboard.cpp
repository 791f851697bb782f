#include "windows/keyboard.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

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

int RowTop(int row)
{
    return kKeysTop + row * kRowPitch;
}

int WindowHeight(int layout)
{
    return RowTop(layout == 2 ? 6 : 10) + 2;
}

// Cell of a key of the formula area that is not on a function panel.
QRect FormulaCell(std::string_view name)
{
    static constexpr std::pair<std::string_view, int> cells[] = {
        {"x", 0},     {"y", 1},     {"z", 2},     {"t", 3},   {"i", 4},    {"delivop", 5},
        {"small", 6}, {"large", 7}, {"equal", 8}, {"cap", 9}, {"cup", 10},
    };
    for (auto [cellName, index] : cells)
        if (cellName == name)
            return {kFormulaLeft + (index % 3) * kFormulaPitch, RowTop(index / 3), kFormulaKeyWidth,
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
    // Caret moves and copying are harmless; every other key is left to the
    // dialog (Return accepts, Escape cancels) and never edits the line.
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        if (event->matches(QKeySequence::Copy)) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        event->ignore();
    }
}

void CaretLine::inputMethodEvent(QInputMethodEvent *event)
{
    event->ignore();
}

void CaretLine::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) // X11 selection paste
        return;
    QLineEdit::mouseReleaseEvent(event);
}

// --- Tkeyfunc --------------------------------------------------------------

Tkeyfunc::Tkeyfunc(QWidget *mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("keyfunc"));
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setStyleSheet(QStringLiteral("color: red;"));
    edit_ = new CaretLine(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    connect(edit_, &QLineEdit::cursorPositionChanged, this, &Tkeyfunc::LineCaretMoved);
    // Should anything slip past CaretLine's filters, the line is put back.
    connect(edit_, &QLineEdit::textEdited, this, &Tkeyfunc::ShowLine);

    upDown1_ = new QSpinBox(this);
    upDown1_->setObjectName(QStringLiteral("UpDown1"));
    upDown1_->setRange(0, 2);
    upDown1_->setValue(1);
    upDown1_->setFocusPolicy(Qt::NoFocus);
    upDown1_->setToolTip(QStringLiteral("関数を切り替えます"));
    upDown1_->setGeometry(kFormulaLeft + 2 * kFormulaPitch, RowTop(3), kFormulaKeyWidth, kKeyHeight);
    connect(upDown1_, &QSpinBox::valueChanged, this, &Tkeyfunc::UpDown1Click);

    BuildKeys();
    Prepare(KeyboardRequest{});
}

void Tkeyfunc::BuildKeys()
{
    int pad = 0, param = 0, panel[3] = {0, 0, 0};
    for (const KeyDef &key : KeyTable()) {
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
                cell = {kPadLeft, RowTop(5), 4 * kPadPitch + kPadKeyWidth, kKeyHeight};
            } else {
                cell = {kPadLeft + (pad % 5) * kPadPitch, RowTop(pad / 5), kPadKeyWidth, kKeyHeight};
                ++pad;
            }
            break;
        case KeyGroup::Parameters:
            cell = {kParamLeft, RowTop(param++), kParamKeyWidth, kKeyHeight};
            break;
        case KeyGroup::Panel0:
        case KeyGroup::Panel1:
        case KeyGroup::Panel2: {
            int &n = panel[static_cast<int>(key.group) - static_cast<int>(KeyGroup::Panel0)];
            cell = {kFormulaLeft + (n % 2) * kPanelPitch, RowTop(kPanelTopRow + n / 2), kPanelKeyWidth,
                    kKeyHeight};
            ++n;
            break;
        }
        default:
            cell = FormulaCell(name);
        }
        button->setGeometry(cell);

        if (name == "lshift")
            connect(button, &QPushButton::clicked, this, &Tkeyfunc::lshiftClick);
        else if (name == "Rshift")
            connect(button, &QPushButton::clicked, this, &Tkeyfunc::RshiftClick);
        else if (name == "Bs")
            connect(button, &QPushButton::clicked, this, &Tkeyfunc::BsClick);
        else if (name == "Del")
            connect(button, &QPushButton::clicked, this, &Tkeyfunc::DelClick);
        else if (name == "Ac")
            connect(button, &QPushButton::clicked, this, &Tkeyfunc::AcClick);
        else if (name == "syuu") {
            button->setDefault(true); // Return accepts
            connect(button, &QPushButton::clicked, this, &Tkeyfunc::syuuClick);
        } else
            connect(button, &QPushButton::clicked, this, [this, &key] { KeyClick(key); });
        keys_.emplace_back(&key, button);
    }
}

void Tkeyfunc::Prepare(const KeyboardRequest &request)
{
    layout_ = NormalisedLayout(request.layout);
    setWindowTitle(request.caption);
    label1_->setText(request.message);
    line_.SetText(request.initialText);
    ShowLine();
    for (auto &[key, button] : keys_)
        button->setEnabled(KeyEnabled(*key, request));
    ApplyLayout();
}

std::string Tkeyfunc::Ask(const KeyboardRequest &request)
{
    Prepare(request);
    edit_->setFocus();
    exec();
    return result_;
}

void Tkeyfunc::ApplyLayout()
{
    int width = LayoutWidth(layout_);
    int height = WindowHeight(layout_);
    setFixedSize(width, height);
    label1_->setGeometry(kMargin, 2, width - 2 * kMargin, 16);
    edit_->setGeometry(kMargin, 20, width - 2 * kMargin, 24);
    ShowReachableKeys();

    QPoint mainTopLeft = parentWidget() ? parentWidget()->frameGeometry().topLeft() : QPoint(0, 0);
    QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    int screenHeight = where ? where->geometry().height() : 480;
    move(KeyboardPosition(mainTopLeft, layout_, screenHeight, height));
}

void Tkeyfunc::ShowReachableKeys()
{
    upDown1_->setVisible(layout_ == 1);
    for (auto &[key, button] : keys_)
        button->setVisible(KeyReachable(key->group, layout_, upDown1_->value()));
}

QString Tkeyfunc::Message() const
{
    return label1_->text();
}

int Tkeyfunc::PanelPosition() const
{
    return upDown1_->value();
}

void Tkeyfunc::SetPanelPosition(int position)
{
    upDown1_->setValue(position);
}

void Tkeyfunc::ShowLine()
{
    showing_ = true;
    edit_->setText(FormulaDisplayText(line_.Text()));
    edit_->setCursorPosition(line_.Caret());
    showing_ = false;
    result_ = line_.Text();
}

void Tkeyfunc::LineCaretMoved(int, int newPosition)
{
    if (!showing_) // placed by the user with the mouse or an arrow key
        line_.SetCaret(newPosition);
}

void Tkeyfunc::KeyClick(const KeyDef &key)
{
    if (*key.inserts)
        line_.Insert(key.inserts, key.advance);
    ShowLine();
    edit_->setFocus();
}

void Tkeyfunc::lshiftClick()
{
    line_.CaretBack();
    ShowLine();
    edit_->setFocus();
}

void Tkeyfunc::RshiftClick()
{
    line_.CaretForward();
    ShowLine();
    edit_->setFocus();
}

void Tkeyfunc::BsClick()
{
    line_.DeleteBefore();
    ShowLine();
    edit_->setFocus();
}

void Tkeyfunc::DelClick()
{
    line_.DeleteAfter();
    ShowLine();
    edit_->setFocus();
}

void Tkeyfunc::AcClick()
{
    line_.Clear();
    ShowLine();
    edit_->setFocus();
}

void Tkeyfunc::syuuClick()
{
    edit_->setFocus();
    result_ = line_.Text();
    ClosingCheck check = CheckClosingText(result_);
    if (check == ClosingCheck::Empty || check == ClosingCheck::Accepted) {
        accept();
        return;
    }
    label1_->setText(ClosingMessage(check));
}

void Tkeyfunc::UpDown1Click(int)
{
    ShowReachableKeys();
    edit_->setFocus();
}

void Tkeyfunc::reject()
{
    // The close box and Escape cancel: the caller must not receive a text the
    // user walked away from, checked or not.
    result_.clear();
    QDialog::reject();
}

std::string ReadNumber(Questions &questions, const QString &prompt, int layout, const QString &message,
                       bool *wasEmpty)
{
    KeyboardRequest request;
    request.caption = prompt;
    request.layout = layout;
    request.message = message;
    std::string text = questions.AskKeyboard(request);
    if (wasEmpty)
        *wasEmpty = text.empty();
    return text.empty() ? std::string("0") : text;
}
