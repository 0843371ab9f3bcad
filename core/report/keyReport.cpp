#include "core/report/keyReport.h"

#include "core/report/classReport.h"
#include "core/storage/convert.h"

#include <algorithm>
#include <cmath>

double KeyMeanMs(const TKeyTally& key) {
    return key.Right > 0 ? static_cast<double>(key.RightMs) / static_cast<double>(key.Right) : 0.0;
}

TKeyFigures KeyFiguresOf(const TKeySum& sum) {
    TKeyFigures f;
    f.Exercises = sum.Exercises;
    f.Keys = sum.Keys;
    f.MostMissed = MostMissedKeys(sum.Keys);
    f.Confusions = sum.Confusions;
    std::stable_sort(f.Confusions.begin(), f.Confusions.end(),
                     [](const TKeyConfusion& a, const TKeyConfusion& b) { return a.Times > b.Times; });
    if (f.Confusions.size() > kKeysListed)
        f.Confusions.resize(kKeysListed);
    for (int i = 0; i <= static_cast<int>(Finger::Thumb); ++i)
        f.Fingers.push_back({static_cast<Finger>(i), 0, 0});
    for (const TKeyTally& k : sum.Keys) {
        const TKeyboardKey* key = KeyOfCode(k.Key);
        if (!key || k.Key == Vk::Shift)
            continue;
        TFingerFigure& finger = f.Fingers[static_cast<std::size_t>(key->finger)];
        finger.Asked += k.Asked;
        finger.Wrong += k.Wrong();
    }
    for (const TKeyTally& k : sum.Keys)
        if (k.Right >= kSlowestKeyRightTimes)
            f.Slowest.push_back(k);
    std::stable_sort(f.Slowest.begin(), f.Slowest.end(),
                     [](const TKeyTally& a, const TKeyTally& b) { return KeyMeanMs(a) > KeyMeanMs(b); });
    if (f.Slowest.size() > kKeysListed)
        f.Slowest.resize(kKeysListed);
    return f;
}

TKeySum LastExercisesKeySum(const THistory& history, std::size_t exercises) {
    TKeySum sum;
    const auto& entries = history.Entries;
    for (std::size_t i = entries.size() > exercises ? entries.size() - exercises : 0; i < entries.size(); ++i)
        sum.Add(entries[i].Keys);
    return sum;
}

std::string FingerName(Finger finger) {
    switch (finger) {
    case Finger::LeftPinky:
        return "mínimo esquerdo";
    case Finger::LeftRing:
        return "anelar esquerdo";
    case Finger::LeftMiddle:
        return "médio esquerdo";
    case Finger::LeftIndex:
        return "indicador esquerdo";
    case Finger::RightIndex:
        return "indicador direito";
    case Finger::RightMiddle:
        return "médio direito";
    case Finger::RightRing:
        return "anelar direito";
    case Finger::RightPinky:
        return "mínimo direito";
    case Finger::Thumb:
        break;
    }
    return "polegares";
}

namespace {
std::string times(std::int64_t n) {
    return std::to_string(n) + (n == 1 ? " vez" : " vezes");
}
std::string counted(std::int64_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}
} // namespace

std::string RatePercent(double rate) {
    return DecimalComma(rate * 100.0, rate > 0 && rate < 0.1 ? 1 : 0) + "%";
}

std::string ConfusionText(const TKeyConfusion& c, int layout) {
    return "digitou " + KeyName(c.Instead, layout) + " no lugar de " + KeyName(c.Key, layout) + ": " +
           times(c.Times);
}

std::string KeyFiguresText(const TKeyTally& k, int layout) {
    std::string text = KeyName(k.Key, layout) + ": " + times(k.Asked) + ", " +
                       counted(k.Wrong(), "errada", "erradas") + " (" + RatePercent(KeyErrorRate(k)) + ")";
    std::vector<std::string> kinds;
    if (k.Swapped > 0)
        kinds.push_back(counted(k.Swapped, "trocada", "trocadas") +
                        (k.Instead ? " (digitou " + KeyName(k.Instead, layout) + ")" : std::string()));
    if (k.Missed > 0)
        kinds.push_back(counted(k.Missed, "esquecida", "esquecidas"));
    if (k.Transposed > 0)
        kinds.push_back(counted(k.Transposed, "invertida", "invertidas"));
    for (std::size_t i = 0; i < kinds.size(); ++i)
        text += (i == 0 ? ": " : ", ") + kinds[i];
    if (k.Extra > 0)
        text += "; " + std::to_string(k.Extra) + " a mais";
    if (k.Right > 0)
        text += "; " + std::to_string(std::llround(KeyMeanMs(k))) + " ms em média antes de cada acerto";
    return text;
}

const std::vector<std::string>& KeyCsvColumns() {
    static const std::vector<std::string> columns{"Aluno",      "Tecla",      "Vezes",  "Certas",  "Trocadas",
                                                  "Esquecidas", "Invertidas", "A mais", "No lugar"};
    return columns;
}

std::string ClassKeysCsv(const std::vector<TStudentRow>& students, std::vector<std::string>* problems) {
    std::string out;
    for (std::size_t i = 0; i < KeyCsvColumns().size(); ++i)
        out += (i ? ";" : "") + CsvField(KeyCsvColumns()[i]);
    out += "\r\n";
    for (const TStudentRow& s : students) {
        if (!s.HistoryProblem.empty() && problems)
            problems->push_back(Utf8Repaired(s.Name) + ": " + s.HistoryProblem);
        const std::string name = CsvField(s.Name);
        for (const TKeyTally& k : s.Keys.Keys) {
            const std::int64_t n[] = {k.Asked, k.Right, k.Swapped, k.Missed, k.Transposed, k.Extra};
            out += name + ';' + CsvField(KeyName(k.Key, s.Layout));
            for (std::int64_t v : n)
                out += ';' + std::to_string(v);
            out += ';' + (k.Instead ? CsvField(KeyName(k.Instead, s.Layout)) : std::string()) + "\r\n";
        }
    }
    return out;
}
