#include "dialogs/TSaveDialog.h"

#include "dialogs/DialogsClasses.h"
#include "framework/Exceptions.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TLayoutLoader.h"
#include "platform/files/curdir.h"
#include "platform/files/paths.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/FakeFileChooser.h"
#include "tests/support/FileDialogTyping.h"
#include "tests/support/TempDrives.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMetaEnum>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using namespace win32;

namespace {

const QString kFilter = QStringLiteral("Zvukové soubory <WAV>|*.wav|Všechny soubory <*.*>|*.*");

// The main window's save dialog as its layout sets it up.
void SetUpLikeSaveDialog1(TOpenDialog& dialog) {
    dialog.SetDefaultExt("*.wav");
    dialog.SetFilter(kFilter);
    dialog.SetOptions(TOpenDialog::ofOverwritePrompt | TOpenDialog::ofPathMustExist |
                      TOpenDialog::ofCreatePrompt | TOpenDialog::ofNoReadOnlyReturn);
}

// Runs the dialog through a stand-in for the desktop's call.
class RecordingDialog : public TOpenDialog {
public:
    std::function<bool(OPENFILENAME&)> Platform;
    bool Execute() override { return DoExecute(Platform); }
};

// The open dialog as a stand-in gives it to the hook.
class FakeWindow : public FileDialogWindow {
public:
    QRect Frame() const override { return frame; }
    void MoveFrame(int left, int top) override { frame.moveTopLeft(QPoint(left, top)); }
    QString FilePath() const override { return typed; }
    QString FolderPath() const override { return {}; }
    int FilterIndex() const override { return filterIndex; }

    QRect frame{0, 0, 400, 300};
    QString typed;
    int filterIndex = 1;
};

TEST(TOpenDialog, InitialDirLosesOneTrailingBackslashExceptAtARoot) {
    const struct {
        const char* in;
        const char* stored;
    } cases[] = {
        {"C:\\", "C:\\"},
        {"C:\\ZVUKY\\", "C:\\ZVUKY"},
        {"C:\\ZVUKY", "C:\\ZVUKY"},
        {"\\", "\\"},
        {"C:\\A\\\\", "C:\\A\\"},
        {"", ""},
        {"\\\\srv\\z\\", "\\\\srv\\z"},
    };
    TSaveDialog dialog;
    for (const auto& c : cases) {
        dialog.SetInitialDir(c.in);
        EXPECT_EQ(dialog.InitialDir(), c.stored) << c.in;
    }
}

TEST(TOpenDialog, FilterTextSplitsIntoNamesAndPatterns) {
    const struct {
        QString filter;
        QList<QPair<QString, QString>> pairs;
    } cases[] = {
        {kFilter, {{"Zvukové soubory <WAV>", "*.wav"}, {"Všechny soubory <*.*>", "*.*"}}},
        {"Jen|*.wav|Zbytek", {{"Jen", "*.wav"}}},
        {"", {}},
        {"A|*.a;*.b", {{"A", "*.a;*.b"}}},
    };
    for (const auto& c : cases) {
        QList<QPair<QString, QString>> pairs;
        for (const FileFilter& f : TOpenDialog::ParseFilter(c.filter))
            pairs.append({f.Name, f.Pattern});
        EXPECT_EQ(pairs, c.pairs) << c.filter.toStdString();
    }
}

TEST(TOpenDialog, EachOptionMapsToItsFlag) {
    const DWORD flags[] = {
        OFN_READONLY,
        OFN_OVERWRITEPROMPT,
        OFN_HIDEREADONLY,
        OFN_NOCHANGEDIR,
        OFN_SHOWHELP,
        OFN_NOVALIDATE,
        OFN_ALLOWMULTISELECT,
        OFN_EXTENSIONDIFFERENT,
        OFN_PATHMUSTEXIST,
        OFN_FILEMUSTEXIST,
        OFN_CREATEPROMPT,
        OFN_SHAREAWARE,
        OFN_NOREADONLYRETURN,
        OFN_NOTESTFILECREATE,
        OFN_NONETWORKBUTTON,
        OFN_NOLONGNAMES,
        OFN_EXPLORER,
        OFN_NODEREFERENCELINKS,
        OFN_ENABLEINCLUDENOTIFY,
        OFN_ENABLESIZING,
    };
    const QMetaEnum options = QMetaEnum::fromType<TOpenDialog::TOpenOptions>();
    ASSERT_EQ(options.keyCount(), 20);
    for (int bit = 0; bit < 20; ++bit) {
        const auto option = static_cast<TOpenDialog::TOpenOption>(1 << bit);
        EXPECT_EQ(TOpenDialog::OptionFlags(option), flags[bit]) << options.valueToKey(option);
        EXPECT_EQ(options.value(bit), 1 << bit);
    }
    bool ok = false;
    EXPECT_EQ(options.keysToValue("ofOverwritePrompt|ofCreatePrompt", &ok), (1 << 1) | (1 << 10));
    EXPECT_TRUE(ok);
}

TEST(TOpenDialog, RecordCarriesTheSettings) {
    RecordingDialog dialog;
    SetUpLikeSaveDialog1(dialog);
    dialog.SetFileName("ding.wav");
    dialog.SetInitialDir("C:\\zvuky\\");
    dialog.SetFilterIndex(2);
    OPENFILENAME seen;
    dialog.Platform = [&](OPENFILENAME& ofn) {
        seen = ofn;
        return false;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(seen.Flags, OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST |
                              OFN_CREATEPROMPT | OFN_NOREADONLYRETURN | OFN_EXPLORER);
    ASSERT_EQ(seen.lpstrFilter.size(), 2);
    EXPECT_EQ(seen.lpstrFilter[1].Name, "Všechny soubory <*.*>");
    EXPECT_EQ(seen.lpstrFilter[1].Pattern, "*.*");
    EXPECT_EQ(seen.nFilterIndex, 2u);
    EXPECT_EQ(seen.lpstrFile, "ding.wav");
    EXPECT_EQ(seen.lpstrInitialDir, "C:\\zvuky");
    EXPECT_EQ(seen.lpstrDefExt, "*.wav");
    EXPECT_TRUE(seen.lpstrTitle.isEmpty());
    EXPECT_TRUE(static_cast<bool>(seen.lpfnHook));

    // The old-style dialog drops the explorer flag and takes the name's extension as default.
    dialog.SetDefaultExt("");
    dialog.SetFileName("C:\\zvuky\\ding.wav");
    dialog.SetOptions(TOpenDialog::ofOldStyleDialog);
    dialog.Execute();
    EXPECT_EQ(seen.Flags, OFN_ENABLEHOOK);
    EXPECT_EQ(seen.lpstrDefExt, "wav");
}

TEST(TOpenDialog, OutcomeOfTheRun) {
    RecordingDialog dialog;
    SetUpLikeSaveDialog1(dialog);
    dialog.SetFileName("ding.wav");

    dialog.Platform = [](OPENFILENAME& ofn) {
        ofn.lpstrFile = "D:\\jinam.wav";
        ofn.nFilterIndex = 2;
        return false;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "ding.wav");
    EXPECT_EQ(dialog.FilterIndex(), 1);
    EXPECT_TRUE(dialog.Files().isEmpty());

    const QString longPath = "D:\\" + QString(300, u'z') + ".mp3";
    dialog.Platform = [&](OPENFILENAME& ofn) {
        ofn.lpstrFile = longPath;
        ofn.nFilterIndex = 2;
        ofn.Flags |= OFN_EXTENSIONDIFFERENT;
        return true;
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), longPath);
    EXPECT_EQ(dialog.Files(), QStringList({longPath}));
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_TRUE(dialog.Options().testFlag(TOpenDialog::ofExtensionDifferent));
    EXPECT_FALSE(dialog.Options().testFlag(TOpenDialog::ofReadOnly));
}

TEST(TOpenDialog, HookPlacesTheDialogAndRaisesTheEvents) {
    RecordingDialog dialog;
    SetUpLikeSaveDialog1(dialog);
    dialog.SetFileName("ding.wav");
    QStringList events;
    QString nameWhileOpen;
    int indexAtTypeChange = 0;
    bool allowClose = false;
    dialog.OnShow = [&](QObject*) { events << "show"; };
    dialog.OnClose = [&](QObject*) { events << "close"; };
    dialog.OnSelectionChange = [&](QObject*) { events << "selection"; };
    dialog.OnFolderChange = [&](QObject*) { events << "folder"; };
    dialog.OnTypeChange = [&](QObject*) {
        events << "type";
        indexAtTypeChange = dialog.FilterIndex();
    };
    dialog.OnCanClose = [&](QObject*, bool& canClose) {
        events << "canclose";
        nameWhileOpen = dialog.FileName();
        canClose = allowClose;
    };
    FakeWindow window;
    QList<bool> answers;
    dialog.Platform = [&](OPENFILENAME& ofn) {
        window.typed = "C:\\zvuky\\x.wav";
        window.filterIndex = 2;
        for (int code : {CDN_INITDONE, CDN_SELCHANGE, CDN_FOLDERCHANGE, CDN_TYPECHANGE, CDN_FILEOK})
            answers.append(ofn.lpfnHook(window, code));
        allowClose = true;
        answers.append(ofn.lpfnHook(window, CDN_FILEOK));
        ofn.lpfnHook(window, WM_DESTROY);
        return false;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(events, QStringList({"show", "selection", "folder", "type", "canclose", "canclose",
                                   "close"}));
    EXPECT_EQ(answers, QList<bool>({true, true, true, true, false, true}));
    EXPECT_EQ(nameWhileOpen, "C:\\zvuky\\x.wav");
    EXPECT_EQ(indexAtTypeChange, 2);
    EXPECT_EQ(dialog.FileName(), "ding.wav") << "after the run the stored name counts again";
    EXPECT_EQ(dialog.FilterIndex(), 1) << "a cancelled run keeps the index";

    const QRect monitor = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.frame.topLeft(), QPoint(monitor.left() + (monitor.width() - 400) / 2,
                                             monitor.top() + (monitor.height() - 300) / 3));
}

TEST(TOpenDialog, FailingCanCloseRefusesAndIsReported) {
    RecordingDialog dialog;
    dialog.OnCanClose = [](QObject*, bool&) {
        throw EConvertError("'x' is not a valid integer value");
    };
    QString reported;
    TApplication* app = Application();
    ASSERT_NE(app, nullptr);
    const auto previous =
        app->SetErrorBoxHook([&](const QString&, const QString& text) { reported = text; });
    FakeWindow window;
    bool answer = true;
    dialog.Platform = [&](OPENFILENAME& ofn) {
        answer = ofn.lpfnHook(window, CDN_FILEOK);
        return false;
    };
    dialog.Execute();
    app->SetErrorBoxHook(previous);
    EXPECT_FALSE(answer);
    EXPECT_EQ(reported, "'x' is not a valid integer value.");
}

TEST(TSaveDialog, LayoutSetsItUpByName) {
    RegisterDialogsClasses();
    TForm form;
    TLayoutLoader::LoadFormFromJson(&form, R"({"Class": "TForm", "Name": "Form1", "Components": [
        {"Class": "TSaveDialog", "Name": "SaveDialog1", "DefaultExt": "*.wav",
         "Filter": "Zvukové soubory <WAV>|*.wav|Všechny soubory <*.*>|*.*",
         "Options": ["ofOverwritePrompt", "ofPathMustExist", "ofCreatePrompt",
                     "ofNoReadOnlyReturn"]}]})",
                                    "Form1");
    auto* dialog = form.Component<TSaveDialog>("SaveDialog1");
    EXPECT_EQ(dialog->parent(), &form);
    EXPECT_EQ(dialog->DefaultExt(), "*.wav");
    EXPECT_EQ(dialog->Filter(), kFilter);
    EXPECT_EQ(dialog->Options(), TOpenDialog::ofOverwritePrompt | TOpenDialog::ofPathMustExist |
                                     TOpenDialog::ofCreatePrompt | TOpenDialog::ofNoReadOnlyReturn);
    EXPECT_EQ(dialog->FilterIndex(), 1);
}

// Runs of the real dialog with the main window's settings, in Qt's widget dialog or in the
// desktop portal's (a fake one on a private bus), which must give the same results.
class SaveDialogRuns : public ::testing::Test {
protected:
    explicit SaveDialogRuns(bool withPortal) {
        SetUpLikeSaveDialog1(dialog);
        drives.MakeDirectory('C', "zvuky");
        drives.MakeDirectory('D', "hudba");
        if (withPortal)
            portal.emplace();
    }

    // One answer of the user: the file chosen (Windows text, typed in the widget dialog; for
    // the portal also a POSIX path), the 1-based file type picked first (0 keeps the one
    // offered) and the answers to the prompts that follow. An empty path cancels; so does the
    // end of the answers.
    struct Choice {
        QString path;
        int type = 0;
        QList<DialogAnswerer::Action> prompts = {};
    };

    // Runs Execute while the user makes the choices one after another: a refused one keeps the
    // widget dialog open and opens the portal's again. Notes what the dialog offered first.
    bool ExecuteChoosing(const QList<Choice>& choices) {
        if (portal) {
            QList<DialogAnswerer::Action> prompts;
            for (const Choice& c : choices) {
                const QString path = c.path.isEmpty() || c.path.startsWith(u'/')
                                         ? c.path
                                         : QFile::decodeName(*ToPosixPath(c.path));
                portal->Answers.append({path, c.type});
                prompts += c.prompts;
            }
            DialogAnswerer answer(prompts);
            const auto call = static_cast<int>(portal->Calls.size());
            const bool accepted = dialog.Execute();
            const QVariantMap& asked = portal->Calls.value(call).Options;
            offeredFolder =
                QFile::decodeName(asked.value("current_folder").toByteArray().chopped(1));
            offeredName = asked.value("current_name").toString();
            offeredType = portal->Calls.value(call).OfferedType;
            return accepted;
        }
        DialogAnswerer answer([&](QWidget* modal) {
            auto* fileDialog = qobject_cast<QFileDialog*>(modal);
            auto* types = modal->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            offeredFolder = fileDialog->directory().absolutePath();
            offeredName = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            offeredType = types->currentIndex() + 1;
            offeredFrame = modal->frameGeometry();
            for (const Choice& c : choices) {
                for (int i = 0; i < c.type; ++i)
                    QTest::keyClick(types, i == 0 ? Qt::Key_Home : Qt::Key_Down);
                if (c.path.isEmpty())
                    break;
                TypeFileNameAndSave(modal, c.path, c.prompts);
            }
            if (QApplication::activeModalWidget() == modal)
                fileDialog->reject();
        });
        return dialog.Execute();
    }

    TempDrives drives{{'C', "c"}, {'D', "d"}};
    std::optional<FakeFileChooser> portal;
    TSaveDialog dialog;
    QString offeredFolder;
    QString offeredName;
    int offeredType = 0;
    QRect offeredFrame;
};

class TSaveDialogTest : public SaveDialogRuns, public ::testing::WithParamInterface<bool> {
protected:
    TSaveDialogTest() : SaveDialogRuns(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(, TSaveDialogTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Portal" : "Widget"; });

TEST_P(TSaveDialogTest, CancelKeepsFileNameAndFilterIndex) {
    dialog.SetInitialDir("C:\\zvuky\\");
    dialog.SetFileName("ding.wav");
    EXPECT_FALSE(ExecuteChoosing({{"", 2}}));
    EXPECT_EQ(QDir(offeredFolder), QDir(drives.PosixPath('C', "zvuky")));
    EXPECT_EQ(offeredName, "ding.wav");
    EXPECT_EQ(dialog.FileName(), "ding.wav");
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST_P(TSaveDialogTest, SecondFileTypeIsOfferedAgainNextTime) {
    dialog.SetInitialDir("C:\\");
    dialog.SetFileName("ding.wav");
    ASSERT_TRUE(ExecuteChoosing({{"C:\\kopie.wav", 2, {DialogAnswerer::PressButton("Yes")}}}));
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.FileName(), "C:\\kopie.wav");
    EXPECT_FALSE(ExecuteChoosing({}));
    EXPECT_EQ(offeredType, 2);
}

TEST_P(TSaveDialogTest, CopyToAnotherFolderLeavesTheCurrentDirectoryThere) {
    drives.MakeFile('C', "zvuky/ding.wav", "RIFF");
    ASSERT_TRUE(SetCurrentDirectory("C:\\zvuky"));
    dialog.SetInitialDir("C:\\zvuky");
    dialog.SetFileName("ding.wav");
    ASSERT_TRUE(ExecuteChoosing({{"D:\\hudba\\ding", 0, {DialogAnswerer::PressButton("Yes")}}}));
    EXPECT_EQ(dialog.FileName(), "D:\\hudba\\ding.wav");
    EXPECT_EQ(GetCurrentDirectory(), "D:\\hudba");
    const QRect monitor = QGuiApplication::primaryScreen()->geometry();
    if (!portal) { // the desktop places its own dialog
        EXPECT_EQ(offeredFrame.topLeft(),
                  QPoint(monitor.left() + (monitor.width() - offeredFrame.width()) / 2,
                         monitor.top() + (monitor.height() - offeredFrame.height()) / 3));
    }
}

TEST_P(TSaveDialogTest, OverwriteIsAskedOnceAndReadOnlyFilesAreRefused) {
    drives.MakeFile('C', "zvuky/ding.wav", "RIFF");
    drives.MakeFile('C', "zvuky/chraneny.wav", "RIFF");
    drives.MakeReadOnly('C', "zvuky/chraneny.wav");
    dialog.SetInitialDir("C:\\zvuky");
    dialog.SetFileName("ding.wav");
    QStringList boxes;
    const auto remember = [&](const char* button) {
        return [&boxes, button](QWidget* box) {
            boxes << qobject_cast<QMessageBox*>(box)->text();
            DialogAnswerer::PressButton(button)(box);
        };
    };
    ASSERT_TRUE(ExecuteChoosing({{"C:\\zvuky\\chraneny.wav", 0, {remember("OK")}},
                                 {"C:\\zvuky\\ding.wav", 0, {remember("Yes")}}}));
    EXPECT_EQ(dialog.FileName(), "C:\\zvuky\\ding.wav");
    // The portal's own dialog has asked about replacing the file it returns.
    ASSERT_EQ(boxes.size(), portal ? 1 : 2);
    EXPECT_TRUE(boxes[0].contains("read-only")) << boxes[0].toStdString();
    if (!portal) {
        EXPECT_TRUE(boxes[1].contains("already exists")) << boxes[1].toStdString();
    }
}

class PortalSaveDialog : public SaveDialogRuns {
protected:
    PortalSaveDialog() : SaveDialogRuns(true) {}
};

TEST_F(PortalSaveDialog, IsAskedForTheSettingsAndHeardLikeTheWidgetDialog) {
    dialog.SetInitialDir("C:\\zvuky");
    dialog.SetFileName("ding.wav");
    QStringList events;
    dialog.OnShow = [&](QObject*) { events << "show"; };
    dialog.OnFolderChange = [&](QObject*) { events << "folder"; };
    dialog.OnTypeChange = [&](QObject*) {
        events << "type " + QString::number(dialog.FilterIndex());
    };
    int refusals = 1;
    dialog.OnCanClose = [&](QObject*, bool& canClose) {
        events << dialog.FileName();
        canClose = refusals-- <= 0;
    };
    dialog.OnClose = [&](QObject*) { events << "close"; };
    QString refusal;
    const auto remember = [&](QWidget* box) {
        refusal = qobject_cast<QMessageBox*>(box)->text();
        DialogAnswerer::PressButton("OK")(box);
    };
    const auto yes = DialogAnswerer::PressButton("Yes");
    ASSERT_TRUE(ExecuteChoosing({{drives.Root() + "/x.wav", 0, {remember}},
                                 {"D:\\hudba\\x.wav", 2, {yes}},
                                 {"D:\\hudba\\x.wav", 0, {yes}}}));
    EXPECT_TRUE(refusal.contains("not on any drive")) << refusal.toStdString();
    EXPECT_EQ(events, QStringList({"show", "type 2", "folder", "D:\\hudba\\x.wav",
                                   "D:\\hudba\\x.wav", "close"}));
    EXPECT_EQ(dialog.FileName(), "D:\\hudba\\x.wav");
    EXPECT_EQ(GetCurrentDirectory(), "D:\\hudba");

    ASSERT_EQ(portal->Calls.size(), 3);
    const FakeFileChooser::Call& first = portal->Calls[0];
    EXPECT_EQ(first.Title, "Save As");
    EXPECT_TRUE(first.Modal);
    EXPECT_EQ(first.Options.value("modal"), true);
    EXPECT_EQ(first.Filters,
              QList<FakeFileChooser::Filter>({{"Zvukové soubory <WAV>", {{0, "*.[wW][aA][vV]"}}},
                                              {"Všechny soubory <*.*>", {{0, "*"}}}}));
    // A refused answer opens the portal's dialog again where the user was.
    const FakeFileChooser::Call& last = portal->Calls[2];
    EXPECT_EQ(last.Options.value("current_folder").toByteArray(),
              QFile::encodeName(drives.PosixPath('D', "hudba")) + '\0');
    EXPECT_EQ(last.Options.value("current_name"), "x.wav");
    EXPECT_EQ(last.OfferedType, 2);
}

} // namespace
