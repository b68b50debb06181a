#pragma once
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "profiles/ProfileRecord.h"
#include "ui/ViewerDlg.h"

class QCheckBox;
class QComboBox;

namespace quillon {

// A profile folder of copies of the generated fixtures, one main window per test, message
// boxes and the add-profile dialog replaced by scripted answers.
class UiFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The folder the catalogue lists (copies: a.icc ... e.icc are the RGB display fixture).
    static QString ProfileFolder();
    // A folder without GLP.icc.
    static QString EmptyFolder();

    static ProfileRecord Record(const std::string& name, std::uint32_t profileClass = sig::Display,
                                std::uint32_t colourSpace = sig::Rgb);

    // Creates and shows the window; appFolder defaults to the run folder holding GLP.icc.
    CViewerDlg& Open(const QString& appFolder = QString());
    // The same with the folder as the bytes the file system names it by.
    CViewerDlg& OpenIn(const std::string& appFolder);

    // The next add-profile choice: a record, or nothing for Cancel.
    void QueueChoice(std::optional<ProfileRecord> choice) { m_choices.push_back(std::move(choice)); }
    int ChooserCalls() const { return m_chooserCalls; }

    void AnswerQuestions(QMessageBox::StandardButton answer) { m_answer = answer; }
    std::vector<int> TakeBoxes();

    void Add(const std::string& name, std::uint32_t profileClass = sig::Display,
             std::uint32_t colourSpace = sig::Rgb);
    void SelectRows(const std::vector<int>& rows);
    void ClickRemove();

    std::vector<std::string> ListColumn(int column) const;

    template <typename T> T* Child(const char* name) const
    {
        T* child = m_dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // Clicks on the box itself: the centre of a wide check box lies outside its click area.
    static void ClickCheckBox(QCheckBox* box);
    // Selects an entry as the user does (the handlers listen to `activated`).
    static void Choose(QComboBox* combo, int index);

    std::unique_ptr<CViewerDlg> m_dialog;

private:
    static std::unique_ptr<QTemporaryDir> s_profiles;
    static std::unique_ptr<QTemporaryDir> s_empty;
    std::deque<std::optional<ProfileRecord>> m_choices;
    int m_chooserCalls = 0;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;
    std::vector<int> m_boxes;
};

} // namespace quillon
