#include "tests/ui/UiFixture.h"

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace quillon {

std::unique_ptr<QTemporaryDir> UiFixture::s_profiles;
std::unique_ptr<QTemporaryDir> UiFixture::s_empty;

namespace {

struct FixtureCopy {
    const char* source;
    const char* target;
};
const FixtureCopy kCopies[] = {
    {"rgb_display.icc", "a.icc"},         {"rgb_display.icc", "b.icc"},
    {"rgb_display.icc", "c.icc"},         {"rgb_display.icc", "d.icc"},
    {"rgb_display.icc", "e.icc"},         {"cmyk_output.icc", "cmyk_output.icc"},
    {"six_colour.icc", "six_colour.icc"}, {"grey_monitor.icc", "grey_monitor.icc"},
    {"named_rgb_n3.icc", "named_rgb_n3.icc"}, {"named_lab_empty.icc", "named_lab_empty.icc"},
    {"named_no_element.icc", "Named_no_element.icc"}, {"named_cmyk_n0.icc", "named_cmyk_n0.icc"},
};

} // namespace

void UiFixture::SetUpTestSuite()
{
    s_profiles = std::make_unique<QTemporaryDir>();
    s_empty = std::make_unique<QTemporaryDir>();
    for (const FixtureCopy& copy : kCopies) {
        const QString from = QStringLiteral(QUILLON_FIXTURE_DIR "/") + QLatin1String(copy.source);
        ASSERT_TRUE(QFile::copy(from, s_profiles->filePath(QLatin1String(copy.target)))) << copy.source;
    }
}

void UiFixture::TearDownTestSuite()
{
    s_profiles.reset();
    s_empty.reset();
}

void UiFixture::SetUp()
{
    SetCurrentLanguage(Language::English);
    SetBoxHook([this](const BoxRequest& request) {
        m_boxes.push_back(request.textId);
        return request.kind == BoxKind::Question ? m_answer : QMessageBox::Ok;
    });
}

void UiFixture::TearDown()
{
    m_dialog.reset();
    SetBoxHook({});
}

QString UiFixture::ProfileFolder()
{
    return s_profiles->path();
}

QString UiFixture::EmptyFolder()
{
    return s_empty->path() + u'/';
}

ProfileRecord UiFixture::Record(const std::string& name, std::uint32_t profileClass, std::uint32_t colourSpace)
{
    ProfileRecord r;
    std::strncpy(r.fileName, name.c_str(), ProfileRecord::kNameSize - 1);
    r.profileClass = profileClass;
    r.colourSpace = colourSpace;
    return r;
}

CViewerDlg& UiFixture::Open(const QString& appFolder)
{
    return OpenIn(appFolder.isEmpty() ? std::string(QUILLON_RUN_DIR "/") : appFolder.toStdString());
}

CViewerDlg& UiFixture::OpenIn(const std::string& appFolder)
{
    ViewerEnvironment env;
    env.applicationFolder = appFolder;
    env.services = ColourServices({ProfileFolder().toStdString()});
    env.chooseProfile = [this](QWidget*, const ColourServices&) -> std::optional<ProfileRecord> {
        ++m_chooserCalls;
        if (m_choices.empty())
            return std::nullopt;
        std::optional<ProfileRecord> next = m_choices.front();
        m_choices.pop_front();
        return next;
    };
    env.buildNcpList = nullptr; // the real list-building under its box
    m_dialog = std::make_unique<CViewerDlg>(std::move(env));
    m_dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    return *m_dialog;
}

std::vector<int> UiFixture::TakeBoxes()
{
    std::vector<int> boxes;
    boxes.swap(m_boxes);
    return boxes;
}

void UiFixture::Add(const std::string& name, std::uint32_t profileClass, std::uint32_t colourSpace)
{
    QueueChoice(Record(name, profileClass, colourSpace));
    QTest::mouseClick(Child<QPushButton>("addButton"), Qt::LeftButton);
}

void UiFixture::SelectRows(const std::vector<int>& rows)
{
    auto* list = Child<QTreeWidget>("viewList");
    list->clearSelection();
    for (int row : rows)
        list->topLevelItem(row)->setSelected(true);
}

void UiFixture::ClickRemove()
{
    QTest::mouseClick(Child<QPushButton>("removeButton"), Qt::LeftButton);
}

std::vector<std::string> UiFixture::ListColumn(int column) const
{
    auto* list = Child<QTreeWidget>("viewList");
    std::vector<std::string> texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.push_back(list->topLevelItem(i)->text(column).toStdString());
    return texts;
}

void UiFixture::ClickCheckBox(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void UiFixture::Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace quillon
