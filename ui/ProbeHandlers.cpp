// The colour probe: format layout, value edits, the show-point flag and named colours.
#include <algorithm>
#include <optional>
#include <new>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "app/WaitCursor.h"
#include "profiles/LoadedProfile.h"
#include "profiles/NamedColours.h"
#include "profiles/ProfileCatalogue.h"
#include "ui/ColourProbe.h"
#include "ui/StringIds.h"
#include "ui/ViewerDlg.h"
#include "ui_ViewerDlg.h"

namespace quillon {

namespace {

constexpr int kValueFields = 3;


QString NameOf(const NamedColour& colour)
{
    return QString::fromUtf8(colour.name, qsizetype(strnlen(colour.name, NamedColour::kNameSize)));
}

bool NameLess(const NamedColour& x, const NamedColour& y)
{
    return CompareNames(x.name, y.name) < 0; // the reader terminates every name
}

} // namespace

void CViewerDlg::InitProbe()
{
    m_ui->format->clear();
    m_ui->format->addItem(QStringLiteral("Lab"));
    m_ui->format->addItem(QStringLiteral("LCH"));
    m_ui->format->addItem(LoadText(ids::kFormatNcpProfile));
    m_probeControls.format = ProbeFormat::Lab;

    m_ui->ncpProfile->clear();
    m_ui->ncpProfile->addItem(LoadText(ids::kNoNcpProfile));
    m_probe.ncpList = m_env.buildNcpList(this, m_env.services);
    for (const ProfileRecord& record : m_probe.ncpList) {
        m_ui->ncpProfile->addItem(QString::fromStdString(FileNameOf(record)));
    }
    m_probeControls.ncpIndex = 0;
    m_ui->ncpColour->clear();
    m_probeControls.colourIndex = -1;
}

void CViewerDlg::ApplyFormatLayout()
{
    ReadControls();
    QLabel* labels[kValueFields] = {m_ui->valueLabel1, m_ui->valueLabel2, m_ui->valueLabel3};
    QLineEdit* edits[kValueFields] = {m_ui->valueEdit1, m_ui->valueEdit2, m_ui->valueEdit3};
    const bool named = m_probeControls.format == ProbeFormat::NcpProfile;
    if (named) {
        for (int i = 0; i < kValueFields; ++i) {
            labels[i]->hide();
            edits[i]->hide();
        }
    } else {
        m_probeControls.labels[0] = QStringLiteral("L");
        m_probeControls.texts[0] = FormatProbeValue(m_probe.L);
        if (m_probeControls.format == ProbeFormat::Lch) {
            const ProbeLch lch = LabToLch(m_probe.L, m_probe.a, m_probe.b);
            m_probeControls.labels[1] = QStringLiteral("C");
            m_probeControls.labels[2] = QStringLiteral("H");
            m_probeControls.texts[1] = FormatProbeValue(lch.C);
            m_probeControls.texts[2] = FormatProbeValue(lch.h);
        } else {
            m_probeControls.labels[1] = QStringLiteral("a");
            m_probeControls.labels[2] = QStringLiteral("b");
            m_probeControls.texts[1] = FormatProbeValue(m_probe.a);
            m_probeControls.texts[2] = FormatProbeValue(m_probe.b);
        }
    }
    m_ui->ncpProfileLabel->setVisible(named);
    m_ui->ncpProfile->setVisible(named);
    m_ui->ncpColourLabel->setVisible(named);
    m_ui->ncpColour->setVisible(named);
    if (!named) {
        for (int i = 0; i < kValueFields; ++i) {
            labels[i]->show();
            edits[i]->show();
        }
    }
    WriteControls();
}

void CViewerDlg::OnFormatChanged()
{
    ApplyFormatLayout();
    if (m_probe.showPoint != 0)
        RedrawViewport();
}

void CViewerDlg::OnValueEdited()
{
    ReadControls();
    m_ui->ncpColour->setCurrentIndex(-1); // no named colour is selected any more
    const double v0 = ParseProbeNumber(m_probeControls.texts[0]);
    const double v1 = ParseProbeNumber(m_probeControls.texts[1]);
    const double v2 = ParseProbeNumber(m_probeControls.texts[2]);
    if (m_probeControls.format == ProbeFormat::Lab) {
        m_probe.L = NarrowToFloat(v0);
        m_probe.a = NarrowToFloat(v1);
        m_probe.b = NarrowToFloat(v2);
    } else {
        const ProbeLab lab = LchToLab(v0, v1, v2);
        m_probe.L = lab.L;
        m_probe.a = lab.a;
        m_probe.b = lab.b;
    }
    if (m_probe.showPoint != 0)
        RedrawViewport();
}

void CViewerDlg::OnShowPoint()
{
    ReadControls();
    RedrawViewport();
}

void CViewerDlg::OnNcpProfileChosen()
{
    ReadControls();
    m_ui->ncpColour->clear();
    const int index = m_probeControls.ncpIndex;
    if (index <= 0 || std::size_t(index) > m_probe.ncpList.size())
        return;

    std::optional<int> error;
    {
        // On the stack: creating the set cannot fail, so message 1004 cannot arise here.
        LoadedProfileSet set(m_env.services);
        // The arrow comes back, and the profile is closed, before any message is shown.
        WaitCursor cursor;
        error = ReadNcpColours(set, m_probe.ncpList[std::size_t(index) - 1]);
    }
    if (error) {
        ErrorBox(*error);
        return;
    }
    for (const NamedColour& colour : m_probe.colours)
        m_ui->ncpColour->addItem(NameOf(colour));
    m_ui->ncpColour->setCurrentIndex(-1);
}

std::optional<int> CViewerDlg::ReadNcpColours(LoadedProfileSet& set, const ProfileRecord& record)
{
    LoadedProfile* profile = nullptr;
    if (set.Load(FileNameOf(record), &profile) != LoadResult::Ok || profile == nullptr)
        return ids::kCannotLoadNcp;

    std::uint32_t count = 0;
    const NamedColourResult counted = ReadNamedColours(*profile, nullptr, count);
    m_probe.colours.clear();
    bool ok = counted == NamedColourResult::CountOnly;
    // An element without colours is a valid, empty list: the second call is not needed.
    if (ok && count > 0) {
        try {
            m_probe.colours.resize(count);
        } catch (const std::bad_alloc&) {
            ok = false;
        } catch (const std::length_error&) {
            ok = false;
        }
        if (ok) {
            std::uint32_t delivered = count;
            ok = ReadNamedColours(*profile, m_probe.colours.data(), delivered) == NamedColourResult::Ok;
            if (ok && delivered < count)
                m_probe.colours.resize(delivered);
        }
    }
    if (!ok) {
        m_probe.colours.clear();
        m_probe.colours.shrink_to_fit();
        return ids::kCannotReadNcpColours;
    }
    std::stable_sort(m_probe.colours.begin(), m_probe.colours.end(), NameLess);
    return std::nullopt;
}

void CViewerDlg::OnColourChosen()
{
    ReadControls();
    const int index = m_probeControls.colourIndex;
    if (index < 0 || std::size_t(index) >= m_probe.colours.size())
        return;
    const NamedColour& colour = m_probe.colours[std::size_t(index)];
    const ProbeLab lab = NamedColourToLab(colour.L16, colour.a16, colour.b16);
    m_probe.L = lab.L;
    m_probe.a = lab.a;
    m_probe.b = lab.b;
    if (m_probe.showPoint != 0)
        RedrawViewport();
}

} // namespace quillon
