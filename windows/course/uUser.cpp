#include "windows/course/uUser.h"

#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "core/storage/password.h"
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "core/storage/settings.h"
#include "core/storage/studentName.h"
#include "windows/course/uTela.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/ownCaption.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

TfrmUser* frmUser = nullptr;

namespace {
constexpr int kBalloonMs = 1000;
constexpr int kTitleHeight = 16; // designed pixels above the options, for the group's title
} // namespace

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this)), m_columns(columns) {
    for (int i = 0; i < items.size(); ++i) {
        QRadioButton* button = MakeOption(this, items[i]);
        m_group->addButton(button, i);
        button->installEventFilter(this);
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            FixTabStop();
            emit Click();
        }
    });
    FixTabStop();
}

void TRadioGroup::FixTabStop() {
    // Tab enters the group at its chosen option (the first when none is chosen); the toolkit would
    // leave the stop on the option that last had the focus, from which the arrows choose nothing.
    const int stop = std::max(0, ItemIndex());
    for (int i = 0; i < Count(); ++i)
        Item(i)->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TRadioGroup::eventFilter(QObject* watched, QEvent* event) {
    // The arrow keys move the choice itself, round the options, as in any option group.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                         : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                     : 0;
        const int from =
            static_cast<int>(m_group->buttons().indexOf(qobject_cast<QAbstractButton*>(watched)));
        if (step != 0 && from >= 0 && Count() > 0) {
            QRadioButton* to = Item((from + step + Count()) % Count());
            to->setChecked(true);
            to->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void TRadioGroup::LayOut(double scale, int width, int height) {
    const int rows = (Count() + m_columns - 1) / m_columns;
    const double columnWidth = (width - 16) / static_cast<double>(m_columns);
    const double rowHeight = (height - kTitleHeight - 4) / static_cast<double>(rows);
    for (int i = 0; i < Count(); ++i) {
        const int row = i / m_columns;
        const int column = i % m_columns;
        const auto px = [scale](double v) { return static_cast<int>(std::lround(v * scale)); };
        Item(i)->setGeometry(px(8 + column * columnWidth), px(kTitleHeight + row * rowHeight),
                             px(columnWidth - 4), px(rowHeight));
    }
}

int TRadioGroup::ItemIndex() const {
    return m_group->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < 0) {
        m_group->setExclusive(false);
        for (QAbstractButton* b : m_group->buttons())
            b->setChecked(false);
        m_group->setExclusive(true);
        FixTabStop();
        return;
    }
    Item(std::min(index, Count() - 1))->setChecked(true);
    FixTabStop();
}

QRadioButton* TRadioGroup::Item(int index) const {
    return static_cast<QRadioButton*>(m_group->button(index));
}

int TRadioGroup::Count() const {
    return static_cast<int>(m_group->buttons().size());
}

TfrmUser::TfrmUser() : DeferredControls(nullptr, kFixedDialogFlags) {
    DesignDialog(this, "frmUser", 302, 215);
}

void TfrmUser::BuildControls() {
    const DesignScale s;
    QFont bold = font();
    bold.setBold(true);
    Label1 = new QLabel(QStringLiteral("Nome do Aluno:"), this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(bold);
    Label1->move(s(8), s(9));
    Label1->adjustSize();
    Label2 = new QLabel(QStringLiteral("Senha de Acesso:"), this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(bold);
    Label2->move(s(10), s(32));
    Label2->adjustSize();

    txtName = MakeTextBox(this, "txtName", s.rect(103, 3, 193, 21), Label1);
    txtPassWord = MakePasswordBox(this, "txtPassWord", s.rect(120, 26, 176, 21), Label2);

    opcUSer = new TRadioGroup(QStringLiteral("Nível de Usuário:"),
                              {QStringLiteral("Administrador"), QStringLiteral("Apenas Aluno")}, 2, this);
    opcUSer->setObjectName(QStringLiteral("opcUSer"));
    s.place(opcUSer, 7, 53, 289, 49);
    opcUSer->LayOut(s.factor(), 289, 49);
    opcKeyboard =
        new TRadioGroup(QStringLiteral("Padrão do Teclado:"),
                        {QStringLiteral("Padrão Americano ou ABNT I"), QStringLiteral("ABNT II")}, 1, this);
    opcKeyboard->setObjectName(QStringLiteral("opcKeyboard"));
    s.place(opcKeyboard, 7, 104, 289, 73);
    opcKeyboard->LayOut(s.factor(), 289, 73);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    s.place(Panel1, 0, 215 - 32, 302, 32);
    cmdSave = MakeButton(Panel1, "cmdSave", QStringLiteral("&Salvar"), s.rect(6, 4, 163, 25));
    BitBtn2 = MakeButton(Panel1, "BitBtn2", QStringLiteral("Cancelar"), s.rect(178, 4, 121, 25));
    // No default button: Enter in a box saves nothing by accident.
    cmdSave->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);

    setTabOrder(cmdSave, BitBtn2);
    setTabOrder(BitBtn2, txtName);
    setTabOrder(txtName, txtPassWord);
    setTabOrder(txtPassWord, opcUSer->Item(0));
    setTabOrder(opcUSer->Item(0), opcUSer->Item(1));
    setTabOrder(opcUSer->Item(1), opcKeyboard->Item(0));
    setTabOrder(opcKeyboard->Item(0), opcKeyboard->Item(1));

    ohint = new TBalloonHint(this);

    connect(txtName, &QLineEdit::textChanged, this, [this] { Guard([this] { txtNameChange(); }); });
    connect(txtPassWord, &QLineEdit::textChanged, this, [this] { Guard([this] { txtPassWordChange(); }); });
    connect(opcUSer, &TRadioGroup::Click, this, [this] { Guard([this] { opcUSerClick(); }); });
    connect(opcKeyboard, &TRadioGroup::Click, this, [this] { Guard([this] { opcKeyboardClick(); }); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { Guard([this] { cmdSaveClick(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { Guard([this] { reject(); }); });
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                           [this](QWidget*, QWidget* to) { Guard([=, this] { focusMoved(to); }); });
    GiveOwnCaption(this);
}

// The focus moves while the children go; by then this is no editor any more.
TfrmUser::~TfrmUser() {
    disconnect(m_focusWatch);
}

// A control is entered when the focus comes to it (or, for a choice, to one of its options) from
// another control of this window; coming back from a message box to the same control is no entry.
void TfrmUser::focusMoved(QWidget* to) {
    if (!to || to->window() != this)
        return;
    QWidget* control = nullptr;
    for (QWidget* candidate : {static_cast<QWidget*>(txtName), static_cast<QWidget*>(txtPassWord),
                               static_cast<QWidget*>(opcUSer), static_cast<QWidget*>(opcKeyboard)})
        if (to == candidate || candidate->isAncestorOf(to))
            control = candidate;
    if (control == m_entered)
        return;
    m_entered = control;
    if (control == txtName)
        txtNameEnter();
    else if (control == txtPassWord)
        txtPassWordEnter();
    else if (control == opcUSer)
        opcUSerEnter();
    else if (control == opcKeyboard)
        opcKeyboardEnter();
}

void TfrmUser::PrepareNew() {
    setWindowTitle(QStringLiteral("Novo usuário."));
    m_mode = TEditorMode::New;
    m_profilePath.clear();
    txtName->clear();
    txtName->setEnabled(true);
    txtPassWord->setMaxLength(kMaxPasswordLength);
    txtPassWord->clear();
    opcUSer->SetItemIndex(0);
    opcKeyboard->SetItemIndex(0);
    // After the fields: filling them ran the change handlers.
    cmdSave->setEnabled(false);
    m_entered = nullptr;
    txtName->setFocus();
}

void TfrmUser::PrepareEdit(const QString& profilePath) {
    setWindowTitle(QStringLiteral("Editando usuário."));
    m_mode = TEditorMode::Edit;
    m_profilePath = profilePath;
    txtName->setEnabled(false);
    txtName->setText(QFileInfo(profilePath).fileName());
    SelectSettingsFile(profilePath.toStdString());
    const QString password = FromCp(DecodePassword(ReadSetting(keys::Definition, keys::Information, "")));
    // A longer password stored earlier is shown whole; saving asks for a shorter one.
    txtPassWord->setMaxLength(std::max<int>(kMaxPasswordLength, static_cast<int>(password.size())));
    txtPassWord->setText(password);
    opcUSer->SetItemIndex(StrToInt(ReadSetting(keys::Definition, keys::Control, keys::ControlDefault)));
    opcKeyboard->SetItemIndex(StrToInt(ReadSetting(keys::Keyboard, keys::Layout, keys::LayoutDefault)));
    cmdSave->setEnabled(false);
    m_entered = nullptr;
    txtPassWord->setFocus();
}

void TfrmUser::txtNameChange() {
    cmdSave->setEnabled(true);
}
void TfrmUser::txtPassWordChange() {
    cmdSave->setEnabled(true);
}
void TfrmUser::opcUSerClick() {
    cmdSave->setEnabled(true);
}
void TfrmUser::opcKeyboardClick() {
    cmdSave->setEnabled(true);
}

void TfrmUser::txtNameEnter() {
    ohint->ShowHint(txtName, QString(), QStringLiteral("Digite aqui o nome do Usuário."), kBalloonMs);
}

void TfrmUser::txtPassWordEnter() {
    ohint->ShowHint(txtPassWord, QString(), QStringLiteral("Digite aqui a senha deste usuário."), kBalloonMs);
}

void TfrmUser::opcUSerEnter() {
    ohint->ShowHint(
        opcUSer, QString(),
        QStringLiteral("Selecione aqui o nível deste Usuário.\r\n\r\n"
                       "Administrador = Pode editar os usuários e mudar suas opções.\r\n"
                       "Somente Aluno = Pode apenas fazer as aulas sem poder mudar as configurações."),
        kBalloonMs);
}

void TfrmUser::opcKeyboardEnter() {
    ohint->ShowHint(opcKeyboard, QString(),
                    QStringLiteral("Selecione aqui o tipo de teclado que usuário utiliza.\r\n\r\n"
                                   "ABNT I  = Teclado padrão americano.\r\n"
                                   "ABNT II = Teclado padronizado para o Brasil, contendo a tecla \"Ç\"."),
                    kBalloonMs);
}

void TfrmUser::cmdSaveClick() {
    const QString name = txtName->text();
    // From the program folder, whatever became of the roster's attempt to make the folder: a profile
    // is written there or nowhere.
    const std::filesystem::path usersFolder = StudentsFolder();
    // Everything is checked before anything is written; the editor stays open with the text as typed.
    if (m_mode == TEditorMode::New) {
        const std::string problem = StudentNameProblem(name.toStdString());
        if (!problem.empty()) {
            ShowMessage(FromUtf8(problem));
            return;
        }
    }
    const std::string passwordProblem = PasswordProblem(txtPassWord->text().toStdString());
    if (!passwordProblem.empty()) {
        ShowMessage(FromUtf8(passwordProblem));
        return;
    }
    // On Windows "ana" is the file of "Ana"; the same holds here on every system.
    const QString exists = QStringLiteral("!!! Este usuário já existe !!!");
    if (m_mode == TEditorMode::New && !StudentFilesNamed(usersFolder, name.toStdString()).empty()) {
        ShowMessage(exists);
        return;
    }
    const QString profile =
        m_mode == TEditorMode::Edit ? m_profilePath : FromPath(usersFolder / ToPath(name));
    const std::string level = IntToStr(opcUSer->ItemIndex());
    // The four keys in this order, in one write: a full disk leaves no profile without its password
    // and level, which anyone could enter.
    const std::vector<TSettingValue> values{
        {keys::AulaPrefix + std::string("1"), keys::Habilitado, "1"},
        {keys::Definition, keys::Information, EncodePassword(ToCp(txtPassWord->text()))},
        {keys::Definition, keys::Control, level},
        {keys::Keyboard, keys::Layout, IntToStr(opcKeyboard->ItemIndex())},
    };
    bool written = false;
    if (m_mode == TEditorMode::New) {
        // Made whole, and only while the name is free: another machine saving "Ana" or "ana" at the same
        // moment neither makes a second profile nor replaces this one.
        const TNewProfile made = CreateStudentProfile(usersFolder, name.toStdString(), values);
        if (made == TNewProfile::Exists) {
            ShowMessage(exists);
            return;
        }
        written = made == TNewProfile::Made;
        SelectSettingsFile(profile.toStdString());
    } else {
        SelectSettingsFile(profile.toStdString());
        written = WriteSettings(values);
    }
    // Nothing more without the profile: no administrator marker, no new line in the roster.
    if (!written)
        throw VtError("Não foi possível gravar os dados do aluno em \"" + profile.toStdString() + "\".");
    if (opcUSer->ItemIndex() == 0)
        WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
    if (frmTela)
        frmTela->ReloadList();
    accept();
}

void TfrmUser::FormCloseQuery() {
    ohint->CancelHint();
}

void TfrmUser::done(int result) {
    Guard([this] { FormCloseQuery(); });
    QDialog::done(result);
}

// Without a default button, Enter presses the button that has the focus and nothing else.
void TfrmUser::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            Guard([button] { button->click(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void NewStudent() {
    frmUser->PrepareNew();
    frmUser->exec();
}

void EditStudent(const QString& profilePath) {
    frmUser->PrepareEdit(profilePath);
    frmUser->exec();
}
