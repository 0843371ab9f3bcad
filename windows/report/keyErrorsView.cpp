#include "windows/report/keyErrorsView.h"

#include "core/platform/keyboard.h"
#include "core/report/classReport.h"
#include "core/report/keyReport.h"
#include "windows/widgets/colours.h"
#include "windows/widgets/qtText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr float kKeyboardUnits = 15.0f; // keys across a row, the widest row's width
constexpr float kKeyboardRows = 5.0f;

struct Band {
    double upTo; // fraction
    QColor colour;
    const char* text;
};
// Light to dark as the rate grows; the darkest two carry white text.
const Band kBands[] = {
    {0.0, QColor(0xE8, 0xF5, 0xE9), "0%"},       {0.02, QColor(0xFF, 0xF5, 0x9D), "até 2%"},
    {0.05, QColor(0xFF, 0xCC, 0x80), "até 5%"},  {0.10, QColor(0xFF, 0x8A, 0x65), "até 10%"},
    {0.20, QColor(0xE5, 0x39, 0x35), "até 20%"}, {2.0, QColor(0x8E, 0x1B, 0x1B), "mais de 20%"},
};
const QColor kNotAsked(0xEC, 0xEF, 0xF1);

QString keyLegend(const TKeyboardKey& key, int layout) {
    if (key.code == Vk::Space)
        return QStringLiteral("Espaço");
    return FromUtf8(KeyName(key.code, layout));
}

QLabel* listLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::TabFocus); // read by a screen reader on its way through the page
    return label;
}

} // namespace

QColor ErrorRateColour(double rate) {
    for (const Band& b : kBands)
        if (rate <= b.upTo)
            return b.colour;
    return kBands[std::size(kBands) - 1].colour;
}

// ---- TKeyErrorsKeyboard

TKeyErrorsKeyboard::TKeyErrorsKeyboard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("teclado"));
    setAccessibleName(QStringLiteral("Teclado com a taxa de erro de cada tecla"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    for (const TKeyboardKey& k : KeyboardKeys()) {
        float column = k.column, row = k.row, units = k.units;
        if (k.code == Vk::Return) {
            // The table draws Enter as two pieces; here it is one box at the end of the home row.
            if (*k.legend == '\0' || std::any_of(m_keys.begin(), m_keys.end(),
                                                 [](const Key& e) { return e.Table->code == Vk::Return; }))
                continue;
            column = 12.75f;
            row = 2;
            units = 2.25f;
        } else if (units == 0) {
            continue;
        }
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("tecla%1").arg(k.code) +
                             (k.code == Vk::Shift && k.column > 1 ? QStringLiteral("d") : QString()));
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::Box);
        label->setAutoFillBackground(true);
        m_keys.push_back({&k, label, column, row, units});
    }
    SetFigures({}, 0);
}

QLabel* TKeyErrorsKeyboard::KeyLabel(int code) const {
    for (const Key& k : m_keys)
        if (k.Table->code == code)
            return k.Label;
    return nullptr;
}

QSize TKeyErrorsKeyboard::sizeHint() const {
    return {600, heightForWidth(600)};
}

int TKeyErrorsKeyboard::heightForWidth(int width) const {
    return static_cast<int>(static_cast<float>(width) * kKeyboardRows / kKeyboardUnits * 1.15f);
}

void TKeyErrorsKeyboard::SetFigures(const TKeyTallies& keys, int layout) {
    for (const Key& k : m_keys) {
        const auto found = std::find_if(keys.begin(), keys.end(),
                                        [&](const TKeyTally& t) { return t.Key == k.Table->code; });
        const QString name = keyLegend(*k.Table, layout);
        QPalette palette = k.Label->palette();
        if (found == keys.end() || found->Asked == 0) {
            k.Label->setText(name);
            k.Label->setToolTip(name + QStringLiteral(": não pedida"));
            k.Label->setAccessibleName(k.Label->toolTip());
            k.Label->setFocusPolicy(Qt::NoFocus);
            palette.setColor(QPalette::Window, kNotAsked);
            palette.setColor(QPalette::WindowText, QColor(0x90, 0x9A, 0xA8));
        } else {
            const double rate = KeyErrorRate(*found);
            k.Label->setText(name + QLatin1Char('\n') + FromUtf8(RatePercent(rate)));
            k.Label->setToolTip(FromUtf8(KeyFiguresText(*found, layout)));
            k.Label->setAccessibleName(k.Label->toolTip());
            k.Label->setFocusPolicy(Qt::TabFocus);
            palette.setColor(QPalette::Window, ErrorRateColour(rate));
            palette.setColor(QPalette::WindowText,
                             rate > kBands[3].upTo ? Qt::white : QColor(0x1A, 0x1A, 0x1A));
        }
        k.Label->setPalette(palette);
    }
}

void TKeyErrorsKeyboard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const double unit = std::min(width() / static_cast<double>(kKeyboardUnits),
                                 height() / static_cast<double>(kKeyboardRows));
    const int gap = std::max(1, static_cast<int>(unit * 0.08));
    QFont small = font();
    small.setPixelSize(std::max(7, static_cast<int>(unit * 0.28)));
    for (const Key& k : m_keys) {
        const int left = static_cast<int>(std::lround(k.Column * unit));
        const int top = static_cast<int>(std::lround(k.Row * unit));
        const int right = static_cast<int>(std::lround((k.Column + k.Units) * unit));
        k.Label->setGeometry(left, top, right - left - gap, static_cast<int>(unit) - gap);
        k.Label->setFont(small);
    }
}

// ---- TKeyErrorsPanel

TKeyErrorsPanel::TKeyErrorsPanel(QWidget* parent, const QString& title) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlTeclas"));
    lblTitulo = new QLabel(title, this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont bold = lblTitulo->font();
    bold.setBold(true);
    lblTitulo->setFont(bold);
    cmbPeriodo = new QComboBox(this);
    cmbPeriodo->setObjectName(QStringLiteral("cmbPeriodo"));
    cmbPeriodo->addItems({QStringLiteral("Todo o histórico"), QStringLiteral("Últimos 10 exercícios")});
    cmbPeriodo->setAccessibleName(QStringLiteral("Período das teclas"));
    cmbPeriodo->hide();
    keyboard = new TKeyErrorsKeyboard(this);
    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setWordWrap(true);
    lblAviso->setTextFormat(Qt::PlainText);
    lblErradas = listLabel(this, "lblErradas");
    lblConfusoes = listLabel(this, "lblConfusoes");
    lblLentas = listLabel(this, "lblLentas");
    lblDedos = listLabel(this, "lblDedos");
    lblDedos->setText(QStringLiteral("Erro por dedo:"));

    // The legend: each band's colour with its words.
    auto* legend = new QHBoxLayout;
    legend->setSpacing(4);
    for (const Band& b : kBands) {
        auto* swatch = new QLabel(FromUtf8(b.text), this);
        swatch->setAlignment(Qt::AlignCenter);
        swatch->setFrameShape(QFrame::Box);
        SetColours(swatch, &b == &kBands[4] || &b == &kBands[5] ? Qt::white : QColor(0x1A, 0x1A, 0x1A),
                   b.colour);
        legend->addWidget(swatch);
    }
    auto* notAsked = new QLabel(QStringLiteral("não pedida"), this);
    notAsked->setAlignment(Qt::AlignCenter);
    notAsked->setFrameShape(QFrame::Box);
    SetColours(notAsked, QColor(0x60, 0x6A, 0x78), kNotAsked);
    legend->addWidget(notAsked);
    legend->addStretch(1);

    auto* fingers = new QGridLayout;
    fingers->setHorizontalSpacing(4);
    fingers->setVerticalSpacing(0);
    fingers->addWidget(lblDedos, 0, 0, 1, 2);
    for (int i = 0; i < 9; ++i) {
        auto* swatch = new QLabel(this);
        swatch->setFixedSize(12, 12);
        SetColours(swatch, Qt::black, QColor::fromRgb(FingerRgb(static_cast<Finger>(i))));
        lblDedo[i] = listLabel(this, "lblDedo");
        lblDedo[i]->setObjectName(QStringLiteral("lblDedo%1").arg(i));
        fingers->addWidget(swatch, i + 1, 0);
        fingers->addWidget(lblDedo[i], i + 1, 1);
    }
    fingers->setRowStretch(10, 1);

    auto* head = new QHBoxLayout;
    head->addWidget(lblTitulo);
    head->addWidget(cmbPeriodo);
    head->addWidget(lblAviso, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(keyboard, 1);
    left->addLayout(legend);
    auto* lists = new QVBoxLayout;
    lists->addWidget(lblErradas);
    lists->addWidget(lblConfusoes);
    lists->addStretch(1);
    auto* lists2 = new QVBoxLayout;
    lists2->addLayout(fingers);
    lists2->addWidget(lblLentas);
    lists2->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 5);
    body->addLayout(lists, 3);
    body->addLayout(lists2, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(head);
    layout->addLayout(body, 1);

    connect(cmbPeriodo, &QComboBox::currentIndexChanged, this,
            [this](int index) { showSum(index == 1 ? m_last : m_whole); });
}

void TKeyErrorsPanel::SetStudent(const TKeySum& whole, const TKeySum& last, int layout) {
    m_whole = whole;
    m_last = last;
    m_layout = layout;
    cmbPeriodo->setVisible(true);
    showSum(cmbPeriodo->currentIndex() == 1 ? m_last : m_whole);
}

void TKeyErrorsPanel::SetClass(const TKeySum& sum, int layout, int students) {
    m_whole = sum;
    m_layout = layout;
    cmbPeriodo->setVisible(false);
    showSum(m_whole);
    if (sum.Exercises > 0)
        lblAviso->setText(QStringLiteral("%1 exercícios com teclas registradas, de %2 %3.")
                              .arg(sum.Exercises)
                              .arg(students)
                              .arg(students == 1 ? QStringLiteral("aluno") : QStringLiteral("alunos")));
}

void TKeyErrorsPanel::showSum(const TKeySum& sum) {
    const TKeyFigures f = KeyFiguresOf(sum);
    keyboard->SetFigures(f.Keys, m_layout);
    lblAviso->setText(
        f.Exercises == 0   ? QStringLiteral("Nenhum exercício com as teclas registradas (elas são "
                                              "registradas a partir desta versão do curso).")
        : f.Exercises == 1 ? QStringLiteral("1 exercício com teclas registradas.")
                           : QStringLiteral("%1 exercícios com teclas registradas.").arg(f.Exercises));
    QString missed = QStringLiteral("Teclas mais erradas:");
    for (std::size_t i = 0; i < f.MostMissed.size() && i < kKeysListed; ++i) {
        const TKeyTally& k = f.MostMissed[i];
        missed += QStringLiteral("\n") + FromUtf8(KeyName(k.Key, m_layout)) + QStringLiteral(": ") +
                  FromUtf8(RatePercent(KeyErrorRate(k))) +
                  QStringLiteral(" (%1 de %2)").arg(k.Wrong()).arg(k.Asked);
    }
    if (f.MostMissed.empty())
        missed += QStringLiteral("\nnenhuma");
    lblErradas->setText(missed);
    QString confusions = QStringLiteral("Confusões mais frequentes:");
    for (const TKeyConfusion& c : f.Confusions)
        confusions += QStringLiteral("\n") + FromUtf8(ConfusionText(c, m_layout));
    if (f.Confusions.empty())
        confusions += QStringLiteral("\nnenhuma");
    lblConfusoes->setText(confusions);
    for (const TFingerFigure& finger : f.Fingers) {
        QLabel* line = lblDedo[static_cast<int>(finger.Which)];
        line->setText(FromUtf8(FingerName(finger.Which)) + QStringLiteral(": ") +
                      (finger.Asked == 0
                           ? QStringLiteral("—")
                           : FromUtf8(RatePercent(static_cast<double>(finger.Wrong) /
                                                  static_cast<double>(finger.Asked))) +
                                 QStringLiteral(" (%1 de %2)").arg(finger.Wrong).arg(finger.Asked)));
    }
    QString slow = QStringLiteral("Teclas mais lentas (tempo médio antes de cada acerto):");
    for (const TKeyTally& k : f.Slowest)
        slow += QStringLiteral("\n") + FromUtf8(KeyName(k.Key, m_layout)) +
                QStringLiteral(": %1 ms").arg(std::llround(KeyMeanMs(k)));
    if (f.Slowest.empty())
        slow += QStringLiteral("\nainda sem acertos bastantes");
    lblLentas->setText(slow);
}

QStringList TKeyErrorsPanel::Lines() const {
    QStringList lines;
    lines << lblTitulo->text() +
                 (cmbPeriodo->isVisible()
                      ? QStringLiteral(" (") + cmbPeriodo->currentText() + QStringLiteral(")")
                      : QString()) +
                 QStringLiteral(": ") + lblAviso->text();
    lines << lblErradas->text().split(QLatin1Char('\n')).join(QStringLiteral("; "));
    lines << lblConfusoes->text().split(QLatin1Char('\n')).join(QStringLiteral("; "));
    QStringList fingers;
    for (const QLabel* l : lblDedo)
        fingers << l->text();
    lines << lblDedos->text() + QLatin1Char(' ') + fingers.join(QStringLiteral("; "));
    lines << lblLentas->text().split(QLatin1Char('\n')).join(QStringLiteral("; "));
    return lines;
}
