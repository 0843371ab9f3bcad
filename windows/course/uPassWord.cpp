#include "windows/course/uPassWord.h"

#include "core/storage/convert.h"
#include "core/storage/password.h"
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "core/storage/settings.h"
#include "core/storage/studentName.h"
#include "windows/course/uTela.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/ownCaption.h"
#include "windows/widgets/qtText.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmPassWord* frmPassWord = nullptr;

namespace {
const QString kInvalid = QStringLiteral("Usuário ou senha inválidas.");
constexpr int kUnlimited = 32767; // QLineEdit's own "no limit"
} // namespace

TfrmPassWord::TfrmPassWord() : DeferredControls(nullptr, kFixedDialogFlags) {
    DesignDialog(this, "frmPassWord", 243, 90);
    setWindowTitle(QStringLiteral("Senha de Acesso:"));
}

void TfrmPassWord::BuildControls() {
    const DesignScale s;
    QFont bold = font();
    bold.setBold(true);
    Label1 = MakeLabel(this, "Label1", QStringLiteral("Usuário:"), s.rect(8, 9, 73, 13));
    Label1->setFont(bold);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("Senha:"), s.rect(10, 32, 71, 13));
    Label2->setFont(bold);

    txtName = MakeTextBox(this, "txtName", s.rect(80, 3, 157, 21), Label1);
    txtPassWord = MakePasswordBox(this, "txtPassWord", s.rect(80, 26, 157, 21), Label2);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    s.place(Panel1, 0, 90 - 32, 243, 32);
    btnOK = MakeButton(Panel1, "btnOK", QStringLiteral("OK"), s.rect(6, 4, 131, 25));
    btnOK->setDefault(true);
    btnCancel = MakeButton(Panel1, "btnCancel", QStringLiteral("Cancelar"), s.rect(141, 4, 99, 25));

    setTabOrder(txtName, txtPassWord);
    setTabOrder(txtPassWord, btnOK);
    setTabOrder(btnOK, btnCancel);

    connect(btnOK, &QPushButton::clicked, this, [this] { Guard([this] { btnOKClick(); }); });
    // Esc comes here too, through QDialog::reject.
    connect(btnCancel, &QPushButton::clicked, this, [this] { Guard([this] { finish(false); }); });
    GiveOwnCaption(this);
}

void TfrmPassWord::finish(bool accepted) {
    m_accepted = accepted;
    done(accepted ? QDialog::Accepted : QDialog::Rejected);
}

void TfrmPassWord::Prepare(TAccessMode mode) {
    m_accepted = false;
    m_acceptedName.clear();
    m_mode = mode;
    txtName->setEnabled(mode == TAccessMode::Administrator);
    // Read afresh every time: another dialog may have set or cleared it since.
    const bool markerPresent = !ReadRegistryValue(keys::MarkerValuePath).empty();
    if (markerPresent) {
        txtName->setText(frmTela ? frmTela->SelectedName() : QString());
        txtPassWord->setText(QString());
        txtPassWord->setMaxLength(kMaxPasswordLength);
        txtPassWord->setEnabled(true);
    } else {
        txtName->setText(QString::fromLatin1(keys::BuiltInAdmin));
        txtName->setEnabled(false);
        // The limit is for typing; the program's own text is longer than it.
        txtPassWord->setMaxLength(kUnlimited);
        txtPassWord->setText(QString::fromLatin1(keys::NoPasswordMarker));
        txtPassWord->setEnabled(false);
    }
    // Start where the user has something to type: the password when the name is already there.
    if (txtPassWord->isEnabled() && (!txtName->isEnabled() || !txtName->text().isEmpty()))
        txtPassWord->setFocus();
    else if (txtName->isEnabled())
        txtName->setFocus();
    else
        btnOK->setFocus();
}

void TfrmPassWord::btnOKClick() {
    if (txtPassWord->text().isEmpty()) {
        ShowMessage(QStringLiteral("Você deve colocar uma senha para este usuário."));
        return;
    }
    if (txtName->text() == QLatin1String(keys::BuiltInAdmin) && !txtName->isEnabled()) {
        m_acceptedName = txtName->text();
        finish(true);
        return;
    }
    // A name that cannot be a profile's file name is unknown; no file is looked at for it.
    const QString usersFolder = frmTela ? frmTela->UsersFolder() : m_usersFolder;
    const auto profile = usersFolder.isEmpty()
                             ? std::nullopt
                             : FindStudentFile(ToPath(usersFolder), txtName->text().toStdString());
    if (!profile) {
        m_accepted = false;
        ShowMessage(kInvalid);
        finish(false);
        return;
    }
    SelectSettingsFile(PathToUtf8(*profile));
    const std::string stored = ReadSetting(keys::Definition, keys::Information, keys::NoPasswordMarker);
    const std::string expected = stored == keys::NoPasswordMarker ? std::string() : DecodePassword(stored);
    // A typed character with no Windows-1252 byte matches nothing that can have been stored.
    const auto typed = Utf8ToCp1252(txtPassWord->text().toStdString());
    if ((!typed || *typed != expected) && !expected.empty()) {
        m_accepted = false;
        ShowMessage(kInvalid);
        finish(false);
        return;
    }
    // The name as the profile stores it, whatever letter case was typed.
    m_acceptedName = FromPath(profile->filename());
    if (m_mode == TAccessMode::Lesson) {
        finish(true);
        return;
    }
    const int level = StrToInt(ReadSetting(keys::Definition, keys::Control, keys::ControlDefault));
    if (level != 0) {
        ShowMessage(QStringLiteral("!!! Este usuário não tem permissão para fazer alterações !!!"));
        finish(false);
        return;
    }
    finish(true);
}

QString RequestAccess(TAccessMode mode) {
    frmPassWord->Prepare(mode);
    frmPassWord->exec();
    return frmPassWord->Accepted() ? frmPassWord->AcceptedName() : QString();
}
