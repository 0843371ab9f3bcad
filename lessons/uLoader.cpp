// The lesson loader: the catalogue's "&Fazer esta Aula..." button.
#include "exercise/exerciseState.h"
#include "exercise/uExec.h"
#include "exercise/uKey.h"
#include "lessons/lessonFile.h"
#include "lessons/uAulas.h"
#include "platform/dataPlaces.h"
#include "platform/programFolder.h"
#include "storage/convert.h"
#include "storage/profileKeys.h"
#include "storage/settings.h"
#include "widgets/balloonHint.h"
#include "widgets/blinkingLabel.h"
#include "widgets/picture.h"
#include "widgets/qtText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>
#include <filesystem>

namespace {
// Where the keyboard goes while a lesson runs, in designed pixels from the screen's corner.
constexpr int kKeyboardLeft = 18;
constexpr int kKeyboardTop = 336;

} // namespace

void TfrmAulas::btnFazerAulaClick() {
    const int index = ItemIndex();
    if (index < 0)
        return; // nothing selected: the button is disabled then, but a direct call must not load lesson 0

    ohint->CancelHint();
    QCoreApplication::processEvents();

    LoadLesson(index);
    ShowKeyboard(kKeyboardLeft, kKeyboardTop, frmExec);
    frmExec->exec();
    ReclaimActivation();
}

void TfrmAulas::LoadLesson(int index) {
    const int lesson = index + 1;
    const std::string number = std::to_string(lesson);

    // Written first: the lesson counts as the current one even when loading stops half-way.
    const std::string profile = StudentProfilePath.toStdString();
    SelectSettingsFile(profile);
    WriteSetting(keys::Config, keys::AulaAtual, IntToStr(index));

    frmExec->pnlNomeAluno->setText(QString::number(lesson) + QStringLiteral("ª Aula (") +
                                   FromUtf8(FileNamePart(profile)) + QLatin1Char(')'));

    const std::filesystem::path images = files::ImagesFolder;
    const auto ownPicture = ProgramFile(images / ("aula" + number + ".jpg"));
    std::error_code ec;
    const auto picture = std::filesystem::is_regular_file(ownPicture, ec)
                             ? ownPicture
                             : ProgramFile(images / files::DefaultPicture);
    frmExec->imgAula->setPixmap(QPixmap::fromImage(LoadPictureFile(FromPath(picture))));

    const std::string lessonPath = PathToUtf8(
        ProgramFile(std::filesystem::path(files::LessonsFolder) / PathFromUtf8(files::LessonFile(lesson))));
    // Read whole before anything is shown; each field is then parsed where it is used, so a bad one
    // stops the loading at the same step as ever.
    const std::vector<std::string> lines = ReadLessonLines(lessonPath);

    frmExec->pnlTitulo->setText(FromCp(lines[0]));
    const std::string& description = lines[1];
    frmExec->txtAulaDescri->setPlainText(
        ShownLines(FromCp(AdaptToLayout(description, CurrentStudentProfile().toStdString()))));
    frmExec->txtAulaDescri->setEnabled(true);

    ExerciseState.StartKey = LessonStartKey(lines[2]);
    frmExec->lblMes->setText(QStringLiteral("Utilize a Tecla ") +
                             FromCp(StartKeyName(ExerciseState.StartKey)) +
                             QStringLiteral(" para Iniciar o Exercicio..."));

    // A lesson that cannot be typed to an end is refused before anything of it is stored.
    const std::vector<int> codes = LessonCodes(lines[3]);
    CheckLessonCodeCount(codes.size(), lessonPath);
    SetModel(ExerciseState, codes);

    const int words = LessonWordsToType(lines[4]);
    CheckLessonWordCount(words, lessonPath);
    ExerciseState.WordsToType = words;
    ExerciseState.ExpectedTime = LessonExpectedTime(lines[5]);
    ExerciseState.MinimumPercent = LessonMinimumPercent(lines[6]);

    frmExec->txtUserKey->setEnabled(false);
    frmExec->txtUserKey->clear();
}
