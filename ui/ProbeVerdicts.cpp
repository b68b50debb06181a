#include "ui/ProbeVerdicts.h"

#include <algorithm>

#include <QGridLayout>
#include <QLabel>

#include "app/Strings.h"
#include "profiles/NamedColourLab.h"
#include "ui/StringIds.h"

namespace quillon {

QString VerdictText(const InsideResult& result)
{
    switch (result.verdict) {
    case Verdict::Inside: return LoadText(ids::kVerdictInside);
    case Verdict::Outside:
        // Two decimals, as quillon-gamut prints them; asprintf ignores the locale.
        return LoadText(ids::kVerdictOutsideBy).arg(QString::asprintf("%.2f", result.distance));
    case Verdict::NoVerdict: break;
    }
    return {};
}

QString NamedCountText(const NamedCount& count)
{
    return LoadText(ids::kNamedInsideCount).arg(qulonglong(count.inside)).arg(qulonglong(count.total));
}

std::vector<LabValue> NamedColoursLab(std::span<const NamedColour> colours)
{
    std::vector<LabValue> lab;
    lab.reserve(colours.size());
    for (const NamedColour& colour : colours) {
        const NamedLab value = NamedColourLab(colour);
        lab.push_back({value.L, value.a, value.b});
    }
    return lab;
}

ProbeVerdictView::ProbeVerdictView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("probeVerdicts"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(1, 1);
    m_caption = new QLabel(LoadText(ids::kVerdictCaption), this);
    m_caption->setObjectName(QStringLiteral("probeVerdictCaption"));
    grid->addWidget(m_caption, 0, 0, 1, 2);
    for (int r = 0; r < kRows; ++r) {
        const QString suffix = QString::number(r + 1);
        m_numbers[r] = new QLabel(suffix, this);
        m_numbers[r]->setObjectName(QStringLiteral("probeVerdictNumber") + suffix);
        m_verdicts[r] = new QLabel(this);
        m_verdicts[r]->setObjectName(QStringLiteral("probeVerdict") + suffix);
        m_counts[r] = new QLabel(this);
        m_counts[r]->setObjectName(QStringLiteral("probeNamedCount") + suffix);
        grid->addWidget(m_numbers[r], 1 + 2 * r, 0);
        grid->addWidget(m_verdicts[r], 1 + 2 * r, 1);
        grid->addWidget(m_counts[r], 2 + 2 * r, 1);
    }
    Show({}, {});
}

void ProbeVerdictView::Show(std::span<const InsideResult> verdicts, std::span<const NamedCount> counts)
{
    const int listed = int(std::min<std::size_t>(verdicts.size(), kRows));
    for (int r = 0; r < kRows; ++r) {
        const bool used = r < listed;
        const bool counted = used && std::size_t(r) < counts.size();
        m_verdicts[r]->setText(used ? VerdictText(verdicts[std::size_t(r)]) : QString());
        m_counts[r]->setText(counted ? NamedCountText(counts[std::size_t(r)]) : QString());
        m_numbers[r]->setVisible(used);
        m_verdicts[r]->setVisible(used);
        m_counts[r]->setVisible(counted);
    }
    setVisible(listed > 0);
}

} // namespace quillon
