#include "support/testProgram.h"
#include "windows/course/uPrompts.h"
#include "windows/widgets/deferredControls.h"
#include "windows/widgets/messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "core/platform/vtError.h"

// Real boxes here, not the recorded ones: their titles, icons, buttons and default buttons.
class TestMessages : public QObject {
    Q_OBJECT

    struct Seen {
        QString title, text, yes, no, defaultButton;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    static Seen look(QWidget* w) {
        Seen s;
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box)
            return s;
        s.title = box->windowTitle();
        s.text = box->text();
        s.icon = box->icon();
        if (auto* b = box->button(QMessageBox::Yes))
            s.yes = b->text();
        if (auto* b = box->button(QMessageBox::No))
            s.no = b->text();
        if (auto* d = box->defaultButton())
            s.defaultButton = d->text();
        return s;
    }

private slots:
    void errorTextGetsAFullStopOnlyAfterCharactersBeyondIt() {
        QCOMPARE(ErrorBoxText("'abc' is not a valid integer value"),
                 QString("'abc' is not a valid integer value."));
        QCOMPARE(ErrorBoxText("I/O error 104"), QString("I/O error 104."));
        QCOMPARE(ErrorBoxText("Cannot open file \"x\". No such file or directory"),
                 QString("Cannot open file \"x\". No such file or directory."));
        QCOMPARE(ErrorBoxText("ends."), QString("ends."));
        QCOMPARE(ErrorBoxText("ends!"), QString("ends!"));
        QCOMPARE(ErrorBoxText("(x)"), QString("(x)"));
        QCOMPARE(ErrorBoxText(""), QString(""));
    }

    void anEscapingErrorIsShownAndTheProgramGoesOn() {
        Seen seen;
        WhenModal([&](QWidget* w) {
            seen = look(w);
            QTest::keyClick(w, Qt::Key_Return);
        });
        bool after = false;
        Guard([] { throw VtError("'x' is not a valid integer value"); });
        Guard([&] { after = true; });
        QVERIFY(after);
        QCOMPARE(seen.title, QString("Velotecla - Curso de Datilografia by tavoli"));
        QCOMPARE(seen.text, QString("'x' is not a valid integer value."));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        // Errors of any other kind are caught too.
        WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        Guard([] { throw std::runtime_error("boom"); });
    }

    void askYesNoDefaultsToNoInTheSystemsLanguage() {
        Seen seen;
        WhenModal([&](QWidget* w) {
            seen = look(w);
            QTest::keyClick(w, Qt::Key_Return);
        });
        QVERIFY(!AskYesNo("Deseja Realmente Cancelar esta Aula?"));
        QCOMPARE(seen.title, QString("Escolha SIM ou NAO"));
        QCOMPARE(seen.text, QString("Deseja Realmente Cancelar esta Aula?"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(QString(seen.yes).remove('&'), QString("Sim"));
        QCOMPARE(QString(seen.no).remove('&'), QString("Não"));
        QCOMPARE(seen.defaultButton, seen.no);

        WhenModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
        QVERIFY(AskYesNo("?"));
        WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QVERIFY(!AskYesNo("?"));
    }

    void confirmExitDefaultsToYes() {
        Seen seen;
        WhenModal([&](QWidget* w) {
            seen = look(w);
            QTest::keyClick(w, Qt::Key_Return);
        });
        QVERIFY(ConfirmExit());
        QCOMPARE(seen.title, QString("  !!!   Saindo do Aplicativo   !!!  "));
        QCOMPARE(seen.text, QString("          !!! Você esta fechando este aplicativo !!!          \n\n"
                                    "                   Deseja realmente sair?"));
        QCOMPARE(seen.defaultButton, seen.yes);
    }

    // Names, titles, values and machine names come from files a group member may write: a box or a
    // label shows them as written, never as rich text (a machine name drawn big and red before).
    void textFromFilesIsNeverRichText() {
        const QString rich = QStringLiteral("<font size=7 color=red>SENHA:</font>");
        QList<Qt::TextFormat> formats;
        const auto note = [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            formats.append(box ? box->textFormat() : Qt::RichText);
            QTest::keyClick(w, Qt::Key_Escape);
        };
        WhenModal(note);
        ShowMessage(rich);
        WhenModal(note);
        ShowErrorBox(rich);
        WhenModal(note);
        AskYesNo(rich);
        QCOMPARE(formats, QList<Qt::TextFormat>(3, Qt::PlainText));

        TestProgram program(true);
        program.createWindows();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* owner = dynamic_cast<TControlOwner*>(w))
                owner->EnsureBuilt();
        int labels = 0;
        for (QWidget* w : QApplication::allWidgets())
            if (auto* label = qobject_cast<QLabel*>(w)) {
                ++labels;
                QVERIFY2(label->textFormat() == Qt::PlainText,
                         qPrintable(label->objectName() + " in " + label->window()->objectName()));
            }
        QVERIFY(labels > 50);
    }
};

int main(int argc, char* argv[]) {
    // A Brazilian system: the yes and no buttons come in its language.
    qputenv("LC_ALL", "pt_BR.UTF-8");
    qputenv("LANG", "pt_BR.UTF-8");
    QApplication app(argc, argv);
    TestMessages test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_messages.moc"
