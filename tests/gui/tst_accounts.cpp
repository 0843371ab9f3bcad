// The administrator account over the program's life, driven through the roster's buttons.
#include "accountsSupport.h"

#include "core/platform/lockFile.h"
#include "core/storage/password.h"
#include "windows/course/uAulas.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <ctime>

// Dates a file's last write that many seconds back.
static bool writtenAgo(const QString& path, int seconds) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                                                               QFileDevice::FileModificationTime);
}

class TestAccounts : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void administratorLifeCycle();
    void deletionAndTheMarker();
    void cancelledAccessReturnsNothing();
};

void TestAccounts::cleanup() {
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

void TestAccounts::administratorLifeCycle() {
    TestProgram program(true);
    program.createWindows();
    frmTela->show();
    QVERIFY(Marker().empty());

    // A fresh installation: root, with its password, both fixed; OK opens the editor.
    bool rootShown = false;
    auto ran = OnDialogs({[&](QWidget* dialog) {
                              QCOMPARE(dialog, frmPassWord);
                              QCOMPARE(dialog->windowTitle(), QStringLiteral("Senha de Acesso:"));
                              rootShown = frmPassWord->txtName->text() == "root" &&
                                          !frmPassWord->txtName->isEnabled() &&
                                          frmPassWord->txtPassWord->text() == "quillmarrow" &&
                                          !frmPassWord->txtPassWord->isEnabled();
                              QTest::keyClick(frmPassWord->btnOK, Qt::Key_Return);
                          },
                          FillAndSave("Chefe", "Se1", 0)});
    Press(frmTela->btnNew);
    QCOMPARE(*ran, 2);
    QVERIFY(rootShown);
    QCOMPARE(Roster(), QStringList{"Chefe"});
    QCOMPARE(Marker(), std::string("plomek47"));
    QCOMPARE(program.readFile("users/Chefe"),
             QByteArray("[Aula1]\r\nHabilitado=1\r\n[Definition]\r\nInformation=" +
                        QByteArray::fromStdString(EncodePassword("Se1")) +
                        "\r\nControl=0\r\n[Keyboard]\r\nLayout=0\r\n"));

    // From now on the administrator names itself; it makes a student without a password.
    ran = OnDialogs({Identify("Chefe", "Se1"), FillAndSave("Bia", "", 1)});
    Press(frmTela->btnNew);
    QCOMPARE(*ran, 2);
    QCOMPARE(Roster(), (QStringList{"Bia", "Chefe"}));
    QVERIFY(program.messages.isEmpty());

    // The student without a password: an empty box is refused and the dialog stays; then any text
    // passes, and the profile holds the no-password marker.
    SelectStudent("Bia");
    bool nameFixed = false;
    ran = OnDialogs({[&](QWidget*) {
                         nameFixed =
                             frmPassWord->txtName->text() == "Bia" && !frmPassWord->txtName->isEnabled();
                         QTest::keyClick(frmPassWord->txtPassWord, Qt::Key_Return);
                         QVERIFY(frmPassWord->isVisible());
                         Identify({}, "qualquer")(frmPassWord);
                     },
                     PressEscape()});
    Press(frmTela->btnSel);
    QCOMPARE(*ran, 2); // the catalogue opened, and was left with Esc
    QVERIFY(nameFixed);
    QCOMPARE(program.messages, QStringList{"Você deve colocar uma senha para este usuário."});
    QVERIFY(program.readFile("users/Bia").contains("Information=quillmarrow\r\n"));
    QCOMPARE(frmAulas->windowTitle(), QStringLiteral("Aulas do Aluno (Bia)"));
    program.messages.clear();
    QVERIFY(!QFile::exists(
        program.path(QStringLiteral("users/.Bia.sessao")))); // the lessons' mark is gone with them

    // The same student already at lessons on another machine: told, with the choice to go on.
    program.writeFile(QStringLiteral("users/.Bia.sessao"),
                      "sala2\n4242\n" + QByteArray::number(qint64(std::time(nullptr))) + "\n");
    for (const bool goOn : {false, true}) {
        program.questions.clear();
        program.answers = {goOn};
        ran = goOn ? OnDialogs({Identify({}, "qualquer"), PressEscape()})
                   : OnDialogs({Identify({}, "qualquer")});
        Press(frmTela->btnSel);
        QCOMPARE(*ran, goOn ? 2 : 1);
        QCOMPARE(program.questions.size(), 1);
        QVERIFY(program.questions.front().startsWith(
            QStringLiteral("O aluno \"Bia\" já está fazendo aulas no computador \"sala2\" desde ")));
    }
    QVERIFY(!QFile::exists(program.path(QStringLiteral("users/.Bia.sessao"))));
    // A mark of a session that is over is dropped without asking: a process of this machine that has
    // ended (no process has the largest number), another machine silent for long.
    const QByteArray now = QByteArray::number(qint64(std::time(nullptr)));
    const struct {
        QByteArray text;
        int minutesOld;
    } over[] = {{QByteArray::fromStdString(ThisMachine()) + "\n2147483647\n" + now + "\n", 0},
                {"sala2\n4242\n" + now + "\n", 11}};
    const QString markPath = program.path(QStringLiteral("users/.Bia.sessao"));
    for (const auto& mark : over) {
        program.writeFile(QStringLiteral("users/.Bia.sessao"), mark.text);
        QVERIFY(writtenAgo(markPath, 60 * mark.minutesOld));
        program.questions.clear();
        ran = OnDialogs({Identify({}, "qualquer"), PressEscape()});
        Press(frmTela->btnSel);
        QCOMPARE(*ran, 2);
        QVERIFY2(program.questions.isEmpty(), qPrintable(program.questions.join(QLatin1Char('/'))));
    }
    // While the student is at lessons, the mark is written again: its time says the session is alive.
    bool renewed = false;
    ran = OnDialogs(
        {Identify({}, "qualquer"), [&](QWidget* catalogue) {
             QVERIFY(writtenAgo(markPath, 600));
             frmTela->findChild<QTimer*>(QStringLiteral("tmrMarca"))->setInterval(10);
             renewed = QTest::qWaitFor(
                 [&] { return QFileInfo(markPath).lastModified().secsTo(QDateTime::currentDateTime()) < 60; },
                 3000);
             QTest::keyClick(catalogue, Qt::Key_Escape);
         }});
    Press(frmTela->btnSel);
    QCOMPARE(*ran, 2);
    QVERIFY(renewed);
    program.questions.clear();

    // A password in another case is refused, and no editor opens.
    ran = OnDialogs({Identify("Chefe", "se1")});
    Press(frmTela->btnNew);
    QCOMPARE(*ran, 1);
    QCOMPARE(program.messages, QStringList{"Usuário ou senha inválidas."});
    QVERIFY(!frmUser->isVisible());

    // A student with the right password may do lessons but not administrator work.
    program.messages.clear();
    ran = OnDialogs({Identify("Bia", "outra")});
    Press(frmTela->btnNew);
    QCOMPARE(*ran, 1);
    QCOMPARE(program.messages, QStringList{"!!! Este usuário não tem permissão para fazer alterações !!!"});

    // The only administrator turned into a student: the marker stays, and nobody passes any more.
    program.messages.clear();
    SelectStudent("Chefe");
    program.answers = {true};
    bool editorFilled = false;
    ran = OnDialogs({Identify("Chefe", "Se1"), [&](QWidget*) {
                         editorFilled = frmUser->windowTitle() == "Editando usuário." &&
                                        frmUser->txtName->text() == "Chefe" &&
                                        !frmUser->txtName->isEnabled() &&
                                        frmUser->txtPassWord->text() == "Se1" &&
                                        frmUser->opcUSer->ItemIndex() == 0 && !frmUser->cmdSave->isEnabled();
                         Press(frmUser->opcUSer->Item(1));
                         QVERIFY(frmUser->cmdSave->isEnabled());
                         Press(frmUser->cmdSave);
                     }});
    Press(frmTela->btnEditUser);
    QCOMPARE(*ran, 2);
    QVERIFY(editorFilled);
    QCOMPARE(program.questions, QStringList{"Deseja Realmente alterar as opções do usuário \"Chefe\" ?"});
    QCOMPARE(Marker(), std::string("plomek47"));
    QVERIFY(program.readFile("users/Chefe").contains("Control=1\r\n"));
    for (const QString& who : {QStringLiteral("Chefe"), QStringLiteral("Bia")}) {
        ran = OnDialogs({Identify(who, who == "Chefe" ? "Se1" : "x")});
        Press(frmTela->btnNew);
        QCOMPARE(*ran, 1);
    }
    QCOMPARE(program.messages,
             QStringList(2, "!!! Este usuário não tem permissão para fazer alterações !!!"));
}

void TestAccounts::deletionAndTheMarker() {
    TestProgram program(true);
    program.createWindows();
    frmTela->show();

    // Under root, two students are made; a student of level 1 sets no marker.
    for (const auto& [name, level] : {std::pair{"Ana", 1}, std::pair{"Davi", 1}}) {
        auto ran = OnDialogs({Identify({}, {}), FillAndSave(name, "a1", level)});
        Press(frmTela->btnNew);
        QCOMPARE(*ran, 2);
    }
    QVERIFY(Marker().empty());

    // Deleting one student leaves the marker as it was; deleting the last writes it empty, and the
    // next opening offers root again.
    WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
    SelectStudent("Davi");
    program.answers = {true};
    auto ran = OnDialogs({Identify("Ana", "a1")});
    Press(frmTela->btnDel);
    QCOMPARE(*ran, 1);
    QCOMPARE(program.messages, QStringList{"!!! Este usuário não tem permissão para fazer alterações !!!"});
    QCOMPARE(Roster(), (QStringList{"Ana", "Davi"}));

    // Made an administrator again by hand, Ana deletes Davi; she cannot delete herself, whatever
    // case she types her name in.
    program.messages.clear();
    program.writeFile("users/Ana", "[Definition]\r\nInformation=" +
                                       QByteArray::fromStdString(EncodePassword("a1")) + "\r\nControl=0\r\n");
    SelectStudent("Davi");
    program.answers = {true};
    ran = OnDialogs({Identify("Ana", "a1")});
    Press(frmTela->btnDel);
    QCOMPARE(*ran, 1);
    QCOMPARE(Roster(), QStringList{"Ana"});
    QVERIFY(!frmTela->btnDel->isEnabled());
    QCOMPARE(Marker(), std::string("plomek47"));
    SelectStudent("Ana");
    program.answers = {true};
    ran = OnDialogs({Identify("aNA", "a1")});
    Press(frmTela->btnDel);
    QCOMPARE(*ran, 1);
    QCOMPARE(program.messages, QStringList{"!!! O próprio usuário root não pode deletar ele mesmo. !!!"});
    QCOMPARE(Roster(), QStringList{"Ana"});
    QCOMPARE(program.questions.last(), QStringLiteral("Deseja Realmente excluir o Seguinte Aluno?\n\nAna"));

    // With the marker cleared by hand (as the program does after the last deletion) root is back, and
    // root's deletion of the last student writes the marker empty.
    WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, "");
    SelectStudent("Ana");
    program.answers = {true};
    ran = OnDialogs({Identify({}, {})});
    Press(frmTela->btnDel);
    QCOMPARE(*ran, 1);
    QVERIFY(Roster().isEmpty());
    QVERIFY(program.readFile("velotecla.reg").contains("ColorControl=\r\n"));
    frmPassWord->Prepare(TAccessMode::Administrator);
    QCOMPARE(frmPassWord->txtName->text(), QStringLiteral("root"));
    QCOMPARE(frmPassWord->txtPassWord->text(), QStringLiteral("quillmarrow"));
}

void TestAccounts::cancelledAccessReturnsNothing() {
    TestProgram program(true);
    program.createWindows();
    program.writeFile("velotecla.reg", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavoli Software\\Velotecla]\r\n"
                                       "ColorControl=x\r\n");
    program.writeFile("users/Ana", "[Definition]\r\nControl=0\r\n");
    // Esc and Cancelar, whatever was typed; the typed password stops at 10 characters.
    for (bool escape : {true, false}) {
        auto ran = OnDialogs({[&](QWidget* dialog) {
            QVERIFY(frmPassWord->txtName->isEnabled());
            QVERIFY(frmPassWord->txtName->text().isEmpty());
            Type(frmPassWord->txtName, "Ana");
            Type(frmPassWord->txtPassWord, "123456789012");
            QCOMPARE(frmPassWord->txtPassWord->text(), QStringLiteral("1234567890"));
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                Press(frmPassWord->btnCancel);
        }});
        QCOMPARE(RequestAccess(TAccessMode::Administrator), QString());
        QCOMPARE(*ran, 1);
    }
    // The same profile passes with any password (it has none) and the name comes back as stored.
    auto ran = OnDialogs({Identify("ANA", "z")});
    QCOMPARE(RequestAccess(TAccessMode::Administrator), QStringLiteral("Ana"));
    // Only level 0 is an administrator: a level stored as -1 (no choice made) is not.
    program.writeFile("users/Ana", "[Definition]\r\nControl=-1\r\n");
    ran = OnDialogs({Identify("Ana", "z")});
    QCOMPARE(RequestAccess(TAccessMode::Administrator), QString());
    QCOMPARE(program.messages.last(),
             QStringLiteral("!!! Este usuário não tem permissão para fazer alterações !!!"));
    // A level that is not a number: the error box, and the dialog stays open, refused.
    program.writeFile("users/Ana", "[Definition]\r\nControl=abc\r\n");
    ran = OnDialogs({[](QWidget*) {
        Identify("Ana", "z")(frmPassWord);
        QVERIFY(frmPassWord->isVisible());
        QTest::keyClick(frmPassWord, Qt::Key_Escape);
    }});
    QCOMPARE(RequestAccess(TAccessMode::Administrator), QString());
    QCOMPARE(program.errors, QStringList{"'abc' is not a valid integer value."});
}

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
