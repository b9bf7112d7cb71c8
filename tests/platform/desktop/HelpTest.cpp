// The help system: the contents and a topic jump in the viewer, where help files are looked
// for, the macros understood, and the viewer's own message for a missing file.
#include "platform/desktop/help.h"

#include "platform/desktop/HelpViewer.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/TempDrives.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace win32;

namespace {

const QString kName = "napoveda-test.hlp";

QByteArray HelpHtml(const QString& title = "Zvonkar – nápověda") {
    QString html = "<html><head><title>" + title + "</title></head><body><h1>Obsah</h1>";
    for (int i = 0; i < 200; ++i) {
        html += "<p>Odstavec úvodu.</p>";
    }
    html += "<h2 id=\"IDH_1\">Přehrávání</h2>";
    for (int i = 0; i < 200; ++i) {
        html += "<p>Odstavec tématu.</p>";
    }
    return (html + "</body></html>").toUtf8();
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", QFile::encodeName("relative:" + data_.path() +
                                                   "/first:" + data_.path() + "/second"));
    }
    void TearDown() override {
        WinHelp(nullptr, kName, HELP_QUIT, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qputenv("XDG_DATA_DIRS", saved_);
    }
    QString Install(const QString& folder, const QByteArray& html) const {
        const QString dir = data_.path() + "/" + folder + "/zvonkar";
        QDir().mkpath(dir);
        QFile file(dir + "/" + kName);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html);
        return file.fileName();
    }
    static HelpViewer* Viewer() { return HelpViewer::Instance(false); }
    // The top of the block that carries `topic`, in the viewer's document.
    static int TopicTop(const QString& topic) {
        QTextDocument* document = Viewer()->Browser()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            if (block.charFormat().anchorNames().contains(topic)) {
                return static_cast<int>(document->documentLayout()->blockBoundingRect(block).top());
            }
        }
        return -1;
    }

    TempDrives drives_;
    QTemporaryDir data_;
    QByteArray saved_;
};

TEST_F(HelpTest, ContentsOpensAtTheTopThenTheJumpShowsTheTopic) {
    const QString path = Install("second", HelpHtml());
    ASSERT_TRUE(WinHelp(nullptr, kName, HELP_CONTENTS, 0));
    ASSERT_NE(Viewer(), nullptr);
    EXPECT_TRUE(Viewer()->isVisible());
    EXPECT_EQ(Viewer()->windowTitle(), "Zvonkar – nápověda");
    EXPECT_EQ(Viewer()->FilePath(), path);
    QScrollBar* scroll = Viewer()->Browser()->verticalScrollBar();
    EXPECT_EQ(scroll->value(), 0);

    ASSERT_TRUE(WinHelp(nullptr, kName, HELP_COMMAND, QString(R"(JumpID("","IDH_1"))")));
    const int top = TopicTop("IDH_1");
    EXPECT_GT(top, 0);
    EXPECT_NEAR(scroll->value(), top, 2);

    // The contents again: back to the top of the same window.
    ASSERT_TRUE(WinHelp(nullptr, kName, HELP_CONTENTS, 0));
    EXPECT_EQ(scroll->value(), 0);
}

TEST_F(HelpTest, MacrosAreParsed) {
    Install("first", HelpHtml());
    struct Case {
        QString macro;
        bool shown;
    };
    const Case cases[] = {
        {R"(JumpID("","IDH_1"))", true},
        {R"(  jumpid ( "" , "IDH_1" ) )", true},
        {R"(JI("","IDH_1"))", true},
        {R"(JumpID("napoveda-test.hlp","IDH_1"))", true},
        {R"(JumpID("","IDH_2"))", false},
        {R"(JumpID("IDH_1"))", false},
        {R"(JumpID("","IDH_1"); Exit())", false},
        {"Exit()", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.macro.toStdString());
        if (Viewer() != nullptr) {
            Viewer()->Browser()->verticalScrollBar()->setValue(0);
        }
        EXPECT_EQ(WinHelp(nullptr, kName, HELP_COMMAND, c.macro), c.shown);
        if (c.shown) {
            EXPECT_GT(Viewer()->Browser()->verticalScrollBar()->value(), 0);
        }
    }
}

TEST_F(HelpTest, HelpFilesAreFoundInTheirFolders) {
    const QString first = Install("first", HelpHtml("první"));
    Install("second", HelpHtml("druhý"));
    EXPECT_EQ(FindHelpFile(kName), first);
    const QString onDrive = drives_.MakeFile('C', "pomoc/jina.hlp", HelpHtml("na disku"));
    EXPECT_EQ(FindHelpFile("C:\\pomoc\\jina.hlp"), onDrive);
    EXPECT_EQ(FindHelpFile(onDrive), onDrive);
    EXPECT_EQ(FindHelpFile("C:\\pomoc\\chybi.hlp"), std::nullopt);
    EXPECT_EQ(FindHelpFile("chybi.hlp"), std::nullopt);
    EXPECT_EQ(FindHelpFile(""), std::nullopt);

    ASSERT_TRUE(WinHelp(nullptr, "C:\\pomoc\\jina.hlp", HELP_CONTENTS, 0));
    EXPECT_EQ(Viewer()->windowTitle(), "na disku");
    // A document without a title is named after its file.
    drives_.MakeFile('C', "pomoc/bez.hlp", "<p>text</p>");
    ASSERT_TRUE(WinHelp(nullptr, "C:\\pomoc\\bez.hlp", HELP_CONTENTS, 0));
    EXPECT_EQ(Viewer()->windowTitle(), "bez.hlp");
}

TEST_F(HelpTest, AMissingFileIsReportedByTheViewerAndFails) {
    for (const UINT command : {HELP_CONTENTS, HELP_COMMAND}) {
        SCOPED_TRACE(command);
        QString text;
        const DialogAnswerer answer([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            text = box->text();
            box->done(QMessageBox::Ok);
        });
        const bool result = command == HELP_CONTENTS ? WinHelp(nullptr, kName, command, 0)
                                                     : WinHelp(nullptr, kName, command,
                                                               QString(R"(JumpID("","IDH_1"))"));
        EXPECT_FALSE(result);
        EXPECT_TRUE(answer.Answered());
        EXPECT_EQ(answer.Captions(), QStringList{"Nápověda"});
        EXPECT_TRUE(text.contains(kName)) << text.toStdString();
        EXPECT_EQ(Viewer(), nullptr);
    }
}

TEST_F(HelpTest, QuitClosesTheViewer) {
    Install("first", HelpHtml());
    ASSERT_TRUE(WinHelp(nullptr, kName, HELP_CONTENTS, 0));
    EXPECT_TRUE(WinHelp(nullptr, kName, HELP_QUIT, 0));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Viewer(), nullptr);
    EXPECT_FALSE(WinHelp(nullptr, kName, HELP_CONTEXT, 1));
}

} // namespace
