#include "ui/ColourProbePanel.h"

#include <algorithm>
#include <optional>
#include <new>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "app/WaitCursor.h"
#include "profiles/LoadedProfile.h"
#include "profiles/NamedColourLab.h"
#include "profiles/NamedColours.h"
#include "profiles/ProfileCatalogue.h"
#include "ui/ColourProbe.h"
#include "ui/NamedColourListModel.h"
#include "ui/ProbeVerdicts.h"
#include "ui/StringIds.h"
#include "ui/ViewerDlg.h"
#include "ui_ViewerDlg.h"

namespace quillon {

namespace {

constexpr int kValueFields = 3;
// Under the value rows of the probe group.
constexpr int kVerdictGridRow = 5;

std::function<void(std::size_t)>& ColourFillHook()
{
    static std::function<void(std::size_t)> hook;
    return hook;
}

bool NameLess(const NamedColour& x, const NamedColour& y)
{
    return CompareNames(x.name, y.name) < 0; // the reader terminates every name
}

} // namespace

void ColourProbePanel::Init()
{
    m_ui.format->clear();
    m_ui.format->addItem(QStringLiteral("Lab"));
    m_ui.format->addItem(QStringLiteral("LCH"));
    m_ui.format->addItem(LoadText(ids::kFormatNcpProfile));
    m_controls.format = ProbeFormat::Lab;

    m_ui.ncpProfile->clear();
    m_ui.ncpProfile->addItem(LoadText(ids::kNoNcpProfile));
    m_state.ncpList = m_env.buildNcpList(&m_window, m_env.services);
    for (const ProfileRecord& record : m_state.ncpList) {
        m_ui.ncpProfile->addItem(QString::fromStdString(FileNameOf(record)));
    }
    m_controls.ncpIndex = 0;
    // The combo reads the colour list through a model: a library is one reset, whatever
    // its size, and the popup lays out only the rows it shows.
    m_colourModel = new NamedColourListModel(m_state.colours, m_ui.ncpColour);
    m_ui.ncpColour->setModel(m_colourModel);
    if (auto* list = qobject_cast<QListView*>(m_ui.ncpColour->view()))
        list->setUniformItemSizes(true);
    // A drop-down list of a few rows, as the platform's own combo, rather than a popup
    // placed over the combo: sizing that popup visits every row (0.45 s for 50,000).
    m_ui.ncpColour->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    m_ui.ncpColour->setCurrentIndex(-1);
    m_controls.colourIndex = -1;

    m_verdictView = new ProbeVerdictView(m_ui.probeGroup);
    m_ui.probeGrid->addWidget(m_verdictView, kVerdictGridRow, 0, 1, 2);
}

void ColourProbePanel::SetColourFillHook(std::function<void(std::size_t)> hook)
{
    ColourFillHook() = std::move(hook);
}

template <typename Body> void ColourProbePanel::Guarded(Body&& body)
{
    bool outOfMemory = false;
    try {
        body();
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (const std::length_error&) {
        outOfMemory = true;
    }
    if (!outOfMemory)
        return;
    try {
        DropColourList();
        UpdateVerdicts();
        ErrorBox(ids::kOutOfMemory);
    } catch (...) {
        // Nothing more can be freed or shown: the list is empty, the window goes on.
    }
}

ColourProbePanel::ColourProbePanel(QWidget& window, Ui::ViewerDlg& ui, const ViewerEnvironment& env,
                                   std::function<void()> redraw)
    : m_window(window), m_ui(ui), m_env(env), m_redraw(std::move(redraw))
{
}

void ColourProbePanel::Connect()
{
    QObject::connect(m_ui.format, &QComboBox::activated, &m_window, [this] { OnFormatChanged(); });
    for (QLineEdit* edit : {m_ui.valueEdit1, m_ui.valueEdit2, m_ui.valueEdit3})
        QObject::connect(edit, &QLineEdit::textEdited, &m_window, [this] { OnValueEdited(); });
    QObject::connect(m_ui.showPoint, &QCheckBox::clicked, &m_window, [this] { OnShowPoint(); });
    QObject::connect(m_ui.ncpProfile, &QComboBox::activated, &m_window, [this] { OnNcpProfileChosen(); });
    QObject::connect(m_ui.ncpColour, &QComboBox::activated, &m_window, [this] { OnColourChosen(); });
}

void ColourProbePanel::ReadControls()
{
    m_state.showPoint = m_ui.showPoint->isChecked() ? 1 : 0;
    m_controls.format = static_cast<ProbeFormat>(m_ui.format->currentIndex());
    m_controls.texts[0] = m_ui.valueEdit1->text();
    m_controls.texts[1] = m_ui.valueEdit2->text();
    m_controls.texts[2] = m_ui.valueEdit3->text();
    m_controls.labels[0] = m_ui.valueLabel1->text();
    m_controls.labels[1] = m_ui.valueLabel2->text();
    m_controls.labels[2] = m_ui.valueLabel3->text();
    m_controls.ncpIndex = m_ui.ncpProfile->currentIndex();
    m_controls.colourIndex = m_ui.ncpColour->currentIndex();
}

void ColourProbePanel::WriteControls()
{
    m_ui.showPoint->setChecked(m_state.showPoint != 0);
    m_ui.format->setCurrentIndex(int(m_controls.format));
    // setText is not an edit: textEdited, which the value handler listens to, stays quiet.
    m_ui.valueEdit1->setText(m_controls.texts[0]);
    m_ui.valueEdit2->setText(m_controls.texts[1]);
    m_ui.valueEdit3->setText(m_controls.texts[2]);
    m_ui.valueLabel1->setText(m_controls.labels[0]);
    m_ui.valueLabel2->setText(m_controls.labels[1]);
    m_ui.valueLabel3->setText(m_controls.labels[2]);
    m_ui.ncpProfile->setCurrentIndex(m_controls.ncpIndex);
    m_ui.ncpColour->setCurrentIndex(m_controls.colourIndex);
}

void ColourProbePanel::ApplyFormatLayout()
{
    ReadControls();
    QLabel* labels[kValueFields] = {m_ui.valueLabel1, m_ui.valueLabel2, m_ui.valueLabel3};
    QLineEdit* edits[kValueFields] = {m_ui.valueEdit1, m_ui.valueEdit2, m_ui.valueEdit3};
    const bool named = m_controls.format == ProbeFormat::NcpProfile;
    if (named) {
        for (int i = 0; i < kValueFields; ++i) {
            labels[i]->hide();
            edits[i]->hide();
        }
    } else {
        m_controls.labels[0] = QStringLiteral("L");
        m_controls.texts[0] = FormatProbeValue(m_state.L);
        if (m_controls.format == ProbeFormat::Lch) {
            const ProbeLch lch = LabToLch(m_state.L, m_state.a, m_state.b);
            m_controls.labels[1] = QStringLiteral("C");
            m_controls.labels[2] = QStringLiteral("H");
            m_controls.texts[1] = FormatProbeValue(lch.C);
            m_controls.texts[2] = FormatProbeValue(lch.h);
        } else {
            m_controls.labels[1] = QStringLiteral("a");
            m_controls.labels[2] = QStringLiteral("b");
            m_controls.texts[1] = FormatProbeValue(m_state.a);
            m_controls.texts[2] = FormatProbeValue(m_state.b);
        }
    }
    m_ui.ncpProfileLabel->setVisible(named);
    m_ui.ncpProfile->setVisible(named);
    m_ui.ncpColourLabel->setVisible(named);
    m_ui.ncpColour->setVisible(named);
    if (!named) {
        for (int i = 0; i < kValueFields; ++i) {
            labels[i]->show();
            edits[i]->show();
        }
    }
    WriteControls();
}

void ColourProbePanel::OnFormatChanged()
{
    Guarded([this] {
        ApplyFormatLayout();
        UpdateVerdicts(); // the library's counts show with the named-colour format only
        if (m_state.showPoint != 0)
            m_redraw();
    });
}

void ColourProbePanel::OnValueEdited()
{
    Guarded([this] {
        ReadControls();
        m_ui.ncpColour->setCurrentIndex(-1); // no named colour is selected any more
        const double v0 = ParseProbeNumber(m_controls.texts[0]);
        const double v1 = ParseProbeNumber(m_controls.texts[1]);
        const double v2 = ParseProbeNumber(m_controls.texts[2]);
        if (m_controls.format == ProbeFormat::Lab) {
            SetProbeColour(NarrowToFloat(v0), NarrowToFloat(v1), NarrowToFloat(v2));
        } else {
            const ProbeLab lab = LchToLab(v0, v1, v2);
            SetProbeColour(lab.L, lab.a, lab.b);
        }
    });
}

void ColourProbePanel::OnShowPoint()
{
    Guarded([this] {
        ReadControls();
        m_redraw();
    });
}

void ColourProbePanel::OnNcpProfileChosen()
{
    Guarded([this] { ChooseNcpProfile(); });
}

void ColourProbePanel::DropColourList()
{
    {
        NamedColourListModel::Reset reset(*m_colourModel);
        m_state.colours.clear();
        m_state.colours.shrink_to_fit();
    }
    m_ui.ncpColour->setCurrentIndex(-1);
    m_namedLab.clear();
    m_namedLab.shrink_to_fit();
    m_namedCounts.clear();
    m_libraryRead = false;
}

void ColourProbePanel::ChooseNcpProfile()
{
    ReadControls();
    // The previous list goes first, so two libraries never sit in memory together.
    DropColourList();
    UpdateVerdicts();
    const int index = m_controls.ncpIndex;
    if (index <= 0 || std::size_t(index) > m_state.ncpList.size())
        return;

    std::optional<int> error;
    std::vector<NamedColour> colours;
    std::vector<LabValue> lab;
    {
        // On the stack: creating the set cannot fail; memory running out later is the
        // handler's "Out of memory." (Guarded).
        LoadedProfileSet set(m_env.services);
        // The arrow comes back, and the profile is closed, before any message is shown.
        WaitCursor cursor;
        error = ReadNcpColours(set, m_state.ncpList[std::size_t(index) - 1], colours);
        if (!error) {
            if (ColourFillHook())
                ColourFillHook()(colours.size());
            lab = NamedColoursLab(colours);
        }
    }
    if (error) {
        ErrorBox(*error);
        return;
    }
    {
        NamedColourListModel::Reset reset(*m_colourModel);
        m_state.colours = std::move(colours);
    }
    m_ui.ncpColour->setCurrentIndex(-1);
    m_namedLab = std::move(lab);
    m_libraryRead = true;
    CountNamedInside();
    UpdateVerdicts();
}

void ColourProbePanel::OnListChanged(const std::vector<GamutSolid>& solids)
{
    Guarded([this, &solids] {
        m_solids = solids;
        CountNamedInside();
        UpdateVerdicts();
    });
}

void ColourProbePanel::CountNamedInside()
{
    m_namedCounts.clear();
    if (!m_libraryRead)
        return;
    m_namedCounts.reserve(m_solids.size());
    for (const GamutSolid& solid : m_solids)
        m_namedCounts.push_back(solid.CountInside(m_namedLab));
}

void ColourProbePanel::UpdateVerdicts()
{
    if (m_verdictView == nullptr)
        return;
    const LabValue probe{m_state.L, m_state.a, m_state.b};
    std::vector<InsideResult> verdicts;
    verdicts.reserve(m_solids.size());
    for (const GamutSolid& solid : m_solids)
        verdicts.push_back(solid.Test(probe));
    const bool named = m_controls.format == ProbeFormat::NcpProfile && m_libraryRead;
    m_verdictView->Show(verdicts, named ? std::span<const NamedCount>(m_namedCounts) : std::span<const NamedCount>());
}

std::optional<int> ColourProbePanel::ReadNcpColours(LoadedProfileSet& set, const ProfileRecord& record,
                                                    std::vector<NamedColour>& colours)
{
    LoadedProfile* profile = nullptr;
    if (set.Load(FileNameOf(record), &profile) != LoadResult::Ok || profile == nullptr)
        return ids::kCannotLoadNcp;

    std::uint32_t count = 0;
    const NamedColourResult counted = ReadNamedColours(*profile, nullptr, count);
    colours.clear();
    bool ok = counted == NamedColourResult::CountOnly;
    // An element without colours is a valid, empty list: the second call is not needed.
    if (ok && count > 0) {
        try {
            colours.resize(count);
        } catch (const std::bad_alloc&) {
            ok = false;
        } catch (const std::length_error&) {
            ok = false;
        }
        if (ok) {
            std::uint32_t delivered = count;
            ok = ReadNamedColours(*profile, colours.data(), delivered) == NamedColourResult::Ok;
            if (ok && delivered < count)
                colours.resize(delivered);
        }
    }
    if (!ok) {
        colours.clear();
        colours.shrink_to_fit();
        return ids::kCannotReadNcpColours;
    }
    std::stable_sort(colours.begin(), colours.end(), NameLess);
    return std::nullopt;
}

void ColourProbePanel::OnColourChosen()
{
    Guarded([this] {
        ReadControls();
        const int index = m_controls.colourIndex;
        if (index < 0 || std::size_t(index) >= m_state.colours.size())
            return;
        const NamedLab lab = NamedColourLab(m_state.colours[std::size_t(index)]);
        SetProbeColour(lab.L, lab.a, lab.b);
    });
}

void ColourProbePanel::SetProbeColour(float L, float a, float b)
{
    m_state.L = L;
    m_state.a = a;
    m_state.b = b;
    UpdateVerdicts();
    if (m_state.showPoint != 0)
        m_redraw();
}

} // namespace quillon
