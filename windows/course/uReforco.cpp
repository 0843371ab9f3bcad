#include "windows/course/uReforco.h"

#include "core/exercise/lessonResult.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/keyboard.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"
#include "core/storage/profileKeys.h"
#include "tools/artwork/keyboardArt.h"
#include "windows/course/uExec.h"
#include "windows/widgets/blinkingLabel.h"
#include "windows/widgets/qtText.h"

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <chrono>
#include <exception>

TReforcoRun RunningReforco;

namespace {
constexpr int kLessons = 24;

std::string keyNames(const std::vector<TReforcoKey>& focus, int layout) {
    std::string names;
    for (const TReforcoKey& k : focus)
        names += (names.empty() ? "" : " ") + KeyName(k.Key, layout);
    return names;
}

// What the description box shows: the phrase first, as a lesson's description does, then why these
// keys (UTF-8, lines of at most 38 characters).
std::string descriptionOf(const TReforcoPhrase& phrase, const std::vector<TReforcoKey>& focus, int layout) {
    const bool line = phrase.Codes.back() == Vk::Return;
    std::string text = line ? "Digite e tecle Enter:\n" : "Digite e tecle espaço:\n";
    text += Cp1252ToUtf8(phrase.Text) + "\n\n";
    text += "Treino das teclas que você mais\nerrou nas últimas aulas: " + keyNames(focus, layout) + "\n";
    for (const TReforcoKey& k : focus)
        if (k.Instead != 0)
            text += "(" + KeyName(k.Instead, layout) + " no lugar de " + KeyName(k.Key, layout) + ")\n";
    if (layout == 0 && phrase.Text.find('\xE7') != std::string::npos)
        text += "O ç é a tecla ; à direita do L.\n";
    text += "\nO Reforço não conta como aula\ne não libera aulas novas.";
    return text;
}
} // namespace

TReforcoSetting ReforcoSettingOf(const std::string& profilePath) {
    TReforcoSetting setting;
    // Only looked at: the settings readers would store their defaults in the profile, and a Reforço
    // leaves the profile as it is.
    const auto profile = ReadWholeFile(PathFromUtf8(profilePath));
    auto value = [&profile](const std::string& section, const char* key) {
        return profile ? IniGetValue(*profile, section, key) : std::nullopt;
    };
    const auto layout = value(keys::Keyboard, keys::Layout);
    setting.Layout = layout && *layout == "1" ? 1 : 0;
    for (int n = 1; n <= kLessons; ++n) {
        const auto unlocked = value(keys::AulaPrefix + std::to_string(n), keys::Habilitado);
        if (!unlocked || unlocked->empty() || *unlocked == "0")
            continue;
        // A lesson file that cannot be read brings no keys; the catalogue says why when it is chosen.
        try {
            TLessonData lesson = ReadLessonFile(PathToUtf8(ProgramFile(
                std::filesystem::path(files::LessonsFolder) / PathFromUtf8(files::LessonFile(n)))));
            setting.Unlocked.insert(lesson.Codes.begin(), lesson.Codes.end());
            setting.Lesson = n;
            setting.AtLesson = std::move(lesson);
        } catch (const std::exception&) {
            continue;
        }
    }
    if (setting.Lesson == 0) {
        setting.Choice.WhyNot = "Nenhuma aula liberada pôde ser lida.";
        return setting;
    }
    const THistory history = ReadHistoryFile(PathFromUtf8(HistoryFile(profilePath)));
    setting.Choice = ChooseReforcoKeys(history.Entries, setting.Unlocked, setting.AtLesson.MinimumPercent);
    return setting;
}

void LoadReforco(const TReforcoSetting& setting, const std::string& profilePath) {
    if (setting.Choice.Focus.empty())
        throw VtError(setting.Choice.WhyNot);
    const int layout = setting.Layout;
    const auto seed =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const TReforcoPhrase phrase =
        MakeReforcoPhrase(setting.Choice, setting.Unlocked, seed, RunningReforco.Phrase);
    if (phrase.Codes.empty())
        throw VtError("Não há palavras com as teclas das aulas liberadas.");

    const TLessonData& at = setting.AtLesson;
    const double lessonMinutes = at.ExpectedTime * 1440.0;
    const double pace =
        lessonMinutes > 0 ? static_cast<double>(at.Codes.size()) * at.WordsToType / lessonMinutes : 0.0;
    const TReforcoPlan plan = PlanReforco(phrase.Codes.size(), pace, at.MinimumPercent);

    TLessonData shown;
    shown.Title = Utf8ToCp1252Lossy("Reforço: " + keyNames(setting.Choice.Focus, layout));
    shown.Codes = phrase.Codes;
    shown.StartKey = Vk::F1;
    shown.WordsToType = plan.WordsToType;
    shown.ExpectedTime = plan.ExpectedTime;
    shown.MinimumPercent = plan.MinimumPercent;
    std::vector<int> focusKeys;
    for (const TReforcoKey& k : setting.Choice.Focus)
        focusKeys.push_back(k.Key);

    frmExec->pnlNomeAluno->setText(QStringLiteral("Reforço (") + FromUtf8(FileNamePart(profilePath)) +
                                   QLatin1Char(')'));
    frmExec->imgAula->setPixmap(QPixmap::fromImage(DrawReforcoPicture(shown, focusKeys)));
    frmExec->pnlTitulo->setText(FromCp(shown.Title));
    frmExec->txtAulaDescri->setPlainText(FromUtf8(descriptionOf(phrase, setting.Choice.Focus, layout)));
    frmExec->txtAulaDescri->setEnabled(true);
    ExerciseState.StartKey = shown.StartKey;
    frmExec->lblMes->setText(QStringLiteral("Utilize a Tecla ") + FromCp(StartKeyName(shown.StartKey)) +
                             QStringLiteral(" para Iniciar o Exercicio..."));
    SetModel(ExerciseState, phrase.Codes);
    ExerciseState.WordsToType = plan.WordsToType;
    ExerciseState.ExpectedTime = plan.ExpectedTime;
    ExerciseState.MinimumPercent = plan.MinimumPercent;
    frmExec->txtUserKey->setEnabled(false);
    frmExec->txtUserKey->clear();

    RunningReforco = {true, setting.Lesson, layout, setting.Choice.Focus, phrase.Text};
}
