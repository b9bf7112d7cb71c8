#include "platform/desktop/commdlg.h"

#include "platform/files/curdir.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/TempDrives.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace win32;

namespace {

using Action = DialogAnswerer::Action;

QLineEdit* NameEdit(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

QFileDialog* AsFileDialog(QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    EXPECT_NE(dialog, nullptr) << "expected the file dialog, got "
                               << modal->windowTitle().toStdString();
    return dialog;
}

// Presses Save (QDialog's accept is the public way in).
void Accept(QFileDialog* dialog) {
    static_cast<QDialog*>(dialog)->accept();
}

QComboBox* TypeList(QWidget* dialog) {
    return dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

// Runs `action` on the file dialog.
Action OnDialog(std::function<void(QFileDialog*)> action) {
    return [action](QWidget* modal) {
        if (QFileDialog* dialog = AsFileDialog(modal)) {
            action(dialog);
        } else {
            modal->close();
        }
    };
}

// Types a name and presses Save; `prompts` answer the windows that pressing Save opens (a
// nested answerer, since a timer does not fire again while its own slot runs).
void TypeAndPressSave(QFileDialog* dialog, const QString& text, const QList<Action>& prompts) {
    // Typing into a field without the focus would add to the file list's selection instead of
    // replacing it, as a user's typing does; so the selection is dropped first.
    dialog->findChild<QListView*>(QStringLiteral("listView"))->clearSelection();
    NameEdit(dialog)->setText(text);
    std::optional<DialogAnswerer> answer;
    if (!prompts.isEmpty())
        answer.emplace(prompts);
    Accept(dialog);
    if (answer) {
        EXPECT_TRUE(answer->Answered()) << "prompts missing after " << text.toStdString();
    }
}

Action TypeAndAccept(const QString& text, const QList<Action>& prompts = {}) {
    return OnDialog(
        [text, prompts](QFileDialog* dialog) { TypeAndPressSave(dialog, text, prompts); });
}

// As TypeAndAccept, then notes whether the dialog stayed open and cancels it.
Action TypeAcceptThenCancel(const QString& text, bool* stayedOpen, const QList<Action>& prompts) {
    return OnDialog([text, stayedOpen, prompts](QFileDialog* dialog) {
        TypeAndPressSave(dialog, text, prompts);
        *stayedOpen = QApplication::activeModalWidget() == dialog;
        dialog->reject();
    });
}

// Answers a message box with one of its buttons, remembering its text.
Action AnswerBox(const QString& button, QString* text) {
    return [button, text](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            *text = box->text();
        DialogAnswerer::PressButton(button)(modal);
    };
}

class GetSaveFileNameTest : public ::testing::Test {
protected:
    OPENFILENAME Record(DWORD flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT |
                                      OFN_NOREADONLYRETURN | OFN_EXPLORER | OFN_ENABLEHOOK) {
        OPENFILENAME ofn;
        ofn.lpstrFilter = {{QStringLiteral("Zvukové soubory <WAV>"), QStringLiteral("*.wav")},
                           {QStringLiteral("Všechny soubory <*.*>"), QStringLiteral("*.*")}};
        ofn.lpstrInitialDir = QStringLiteral("C:\\zvuky");
        ofn.lpstrFile = QStringLiteral("ding.wav");
        ofn.lpstrDefExt = QStringLiteral("*.wav");
        ofn.Flags = flags;
        return ofn;
    }

    TempDrives drives{{'C', "c"}, {'D', "d", "fixed", "AUDIO"}};
    QString zvuky = drives.MakeDirectory('C', "zvuky");
};

TEST_F(GetSaveFileNameTest, AcceptsANewNameAfterTheCreatePrompt) {
    OPENFILENAME ofn = Record();
    QString question;
    QString folder;
    DialogAnswerer answer({OnDialog([&](QFileDialog* dialog) {
        folder = dialog->directory().absolutePath();
        TypeAndPressSave(dialog, "novy.wav", {AnswerBox("Yes", &question)});
    })});
    ASSERT_TRUE(GetSaveFileName(ofn));
    EXPECT_EQ(answer.Captions().value(0), "Save As");
    EXPECT_EQ(QDir(folder), QDir(zvuky));
    EXPECT_EQ(ofn.lpstrFile, "C:\\zvuky\\novy.wav");
    EXPECT_TRUE(question.contains("C:\\zvuky\\novy.wav")) << question.toStdString();
    EXPECT_TRUE(question.contains("create")) << question.toStdString();
    EXPECT_FALSE(drives.Exists('C', "zvuky/novy.wav")) << "the dialog only chooses";
}

TEST_F(GetSaveFileNameTest, PromptsAnsweredNoKeepTheDialogOpen) {
    drives.MakeFile('C', "zvuky/ding.wav", "RIFF");
    struct Case {
        const char* name;
        const char* promptWord;
    };
    for (const Case& c : {Case{"ding.wav", "replace"}, Case{"jiny.wav", "create"}}) {
        OPENFILENAME ofn = Record();
        QString question;
        bool stayedOpen = false;
        DialogAnswerer answer(
            TypeAcceptThenCancel(c.name, &stayedOpen, {AnswerBox("No", &question)}));
        EXPECT_FALSE(GetSaveFileName(ofn)) << c.name;
        EXPECT_EQ(CommDlgExtendedError(), 0u);
        EXPECT_TRUE(stayedOpen) << c.name;
        EXPECT_TRUE(question.contains(c.promptWord)) << question.toStdString();
        EXPECT_EQ(ofn.lpstrFile, "ding.wav") << "a cancelled run leaves the record's name";
    }
    EXPECT_EQ(drives.ReadFile('C', "zvuky/ding.wav"), QByteArray("RIFF"));
}

TEST_F(GetSaveFileNameTest, ReplacingAnExistingFileIsAskedAndLeavesItUntouched) {
    drives.MakeFile('C', "zvuky/ding.wav", "RIFF");
    OPENFILENAME ofn = Record();
    QString question;
    DialogAnswerer answer(TypeAndAccept("ding.wav", {AnswerBox("Yes", &question)}));
    ASSERT_TRUE(GetSaveFileName(ofn));
    EXPECT_EQ(ofn.lpstrFile, "C:\\zvuky\\ding.wav");
    EXPECT_TRUE(question.startsWith("C:\\zvuky\\ding.wav already exists."))
        << question.toStdString();
    EXPECT_EQ(drives.ReadFile('C', "zvuky/ding.wav"), QByteArray("RIFF"));
}

TEST_F(GetSaveFileNameTest, RefusesNamesTheFlagsForbid) {
    drives.MakeFile('C', "zvuky/chraneny.wav", "RIFF");
    drives.MakeReadOnly('C', "zvuky/chraneny.wav");
    struct Case {
        QString typed;
        const char* messageWord;
    };
    const Case cases[] = {
        {"chraneny.wav", "read-only"},         {"neni\\x.wav", "Directory not found"},
        {"neni/x.wav", "Directory not found"}, {"a?b.wav", "not valid"},
        {"X:\\x.wav", "not on any drive"},
    };
    for (const Case& c : cases) {
        OPENFILENAME ofn = Record();
        QString message;
        bool stayedOpen = false;
        DialogAnswerer answer(
            TypeAcceptThenCancel(c.typed, &stayedOpen, {AnswerBox("OK", &message)}));
        EXPECT_FALSE(GetSaveFileName(ofn)) << c.typed.toStdString();
        EXPECT_TRUE(stayedOpen) << c.typed.toStdString();
        EXPECT_TRUE(message.contains(c.messageWord)) << message.toStdString();
    }
}

TEST_F(GetSaveFileNameTest, FlagsTurnTheirChecksOff) {
    drives.MakeFile('C', "zvuky/ding.wav", "RIFF");
    for (const char* name : {"ding.wav", "novy.wav"}) {
        OPENFILENAME ofn = Record(OFN_EXPLORER);
        DialogAnswerer answer(TypeAndAccept(name));
        ASSERT_TRUE(GetSaveFileName(ofn)) << name;
        EXPECT_EQ(ofn.lpstrFile, QStringLiteral("C:\\zvuky\\") + name);
    }
}

TEST_F(GetSaveFileNameTest, FilterIndexGoesInAndComesOut) {
    OPENFILENAME ofn = Record(OFN_EXPLORER);
    ofn.nFilterIndex = 2;
    QStringList shown;
    int selected = -1;
    DialogAnswerer answer(OnDialog([&](QFileDialog* dialog) {
        shown = dialog->nameFilters();
        selected = TypeList(dialog)->currentIndex();
        QTest::keyClick(TypeList(dialog), Qt::Key_Up);
        TypeAndPressSave(dialog, "x.wav", {});
    }));
    ASSERT_TRUE(GetSaveFileName(ofn));
    EXPECT_EQ(shown, QStringList({"Zvukové soubory <WAV> (*.wav)", "Všechny soubory <*.*> (*)"}));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(ofn.nFilterIndex, 1u);

    for (DWORD outOfRange : {0u, 3u}) {
        ofn.nFilterIndex = outOfRange;
        DialogAnswerer cancel(OnDialog([&](QFileDialog* dialog) {
            selected = TypeList(dialog)->currentIndex();
            dialog->reject();
        }));
        EXPECT_FALSE(GetSaveFileName(ofn));
        EXPECT_EQ(selected, 0) << outOfRange;
    }
}

TEST_F(GetSaveFileNameTest, DefaultExtensionCompletesABareName) {
    struct Case {
        const char* typed;
        const char* path;
        bool extensionDifferent;
    };
    const Case cases[] = {
        {"novy", "C:\\zvuky\\novy.wav", false},
        {"novy.WAV", "C:\\zvuky\\novy.WAV", false},
        {"novy.mp3", "C:\\zvuky\\novy.mp3", true},
        {"C:\\zvuky\\jiny", "C:\\zvuky\\jiny.wav", false},
        {"..\\jinde", "C:\\jinde.wav", false},
    };
    for (const Case& c : cases) {
        OPENFILENAME ofn = Record(OFN_EXPLORER | OFN_EXTENSIONDIFFERENT);
        DialogAnswerer answer(TypeAndAccept(c.typed));
        ASSERT_TRUE(GetSaveFileName(ofn)) << c.typed;
        EXPECT_EQ(ofn.lpstrFile, c.path);
        EXPECT_EQ((ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0, c.extensionDifferent) << c.typed;
    }
}

TEST_F(GetSaveFileNameTest, StartFolderComesFromTheNameThenTheInitialDirThenTheCurrentDir) {
    drives.MakeDirectory('D', "hudba");
    struct Case {
        QString file;
        QString initialDir;
        QString folder;
    };
    const Case cases[] = {
        {"D:\\hudba\\x.wav", "C:\\zvuky", drives.PosixPath('D', "hudba")},
        {"x.wav", "C:\\", drives.PosixPath('C')},
        {"x.wav", "C:\\zvuky", zvuky},
        {"x.wav", "C:\\neni", drives.PosixPath('C')},
        {"x.wav", "", drives.PosixPath('C')},
    };
    for (const Case& c : cases) {
        OPENFILENAME ofn = Record();
        ofn.lpstrFile = c.file;
        ofn.lpstrInitialDir = c.initialDir;
        QString folder;
        QString name;
        DialogAnswerer answer(OnDialog([&](QFileDialog* dialog) {
            folder = dialog->directory().absolutePath();
            name = NameEdit(dialog)->text();
            dialog->reject();
        }));
        EXPECT_FALSE(GetSaveFileName(ofn));
        EXPECT_EQ(QDir(folder), QDir(c.folder)) << c.file.toStdString();
        EXPECT_EQ(name, "x.wav");
    }
}

TEST_F(GetSaveFileNameTest, TypedFoldersAreOpened) {
    const struct {
        const char* folder;
        const char* path;
    } cases[] = {
        {"\\", "C:\\x.wav"},
        {"D:", "D:\\x.wav"},
        {"..", "C:\\x.wav"},
        {"D:\\hudba\\", "D:\\hudba\\x.wav"},
    };
    drives.MakeDirectory('D', "hudba");
    for (const auto& c : cases) {
        OPENFILENAME ofn = Record(OFN_EXPLORER);
        DialogAnswerer answer(OnDialog([&](QFileDialog* dialog) {
            TypeAndPressSave(dialog, c.folder, {});
            TypeAndPressSave(dialog, "x.wav", {});
        }));
        ASSERT_TRUE(GetSaveFileName(ofn)) << c.folder;
        EXPECT_EQ(ofn.lpstrFile, c.path) << c.folder;
    }
}

TEST_F(GetSaveFileNameTest, SideBarNamesTheDriveRootsAndEveryColumnReadsWhole) {
    drives.MakeFileOfSize('C', "zvuky/ding.wav", 300000);
    OPENFILENAME ofn = Record();
    QList<QUrl> urls;
    QStringList places;
    QStringList cutTexts;
    DialogAnswerer answer(OnDialog([&](QFileDialog* dialog) {
        urls = dialog->sidebarUrls();
        const QAbstractItemModel* sideBar = dialog->findChild<QListView*>("sidebar")->model();
        for (int row = 0; row < sideBar->rowCount(); ++row)
            places << sideBar->index(row, 0).data().toString();
        const auto* tree = dialog->findChild<QTreeView*>("treeView");
        const QModelIndex folder = tree->rootIndex();
        QTRY_VERIFY(tree->model()->rowCount(folder) == 1);
        int right = 0;
        for (int column = 0; column < 4; ++column) {
            const QString text = tree->model()->index(0, column, folder).data().toString();
            const int room = tree->header()->sectionSize(column) - (column ? 0 : 24);
            if (tree->fontMetrics().horizontalAdvance(text) > room)
                cutTexts << text;
            right += tree->header()->sectionSize(column);
        }
        if (right > tree->viewport()->width())
            cutTexts << "the last column";
        dialog->reject();
    }));
    EXPECT_FALSE(GetSaveFileName(ofn));
    EXPECT_EQ(urls, QList<QUrl>({QUrl::fromLocalFile(drives.PosixPath('C')),
                                 QUrl::fromLocalFile(drives.PosixPath('D'))}));
    EXPECT_EQ(places, QStringList({"C:", "D: AUDIO"}));
    EXPECT_TRUE(cutTexts.isEmpty()) << cutTexts.join(", ").toStdString();
}

TEST_F(GetSaveFileNameTest, CurrentDirectoryFollowsTheChosenFolder) {
    drives.MakeDirectory('D', "hudba");
    struct Case {
        DWORD extraFlags;
        QString expected;
    };
    for (const Case& c : {Case{0, "D:\\hudba"}, Case{OFN_NOCHANGEDIR, "C:\\"}}) {
        ASSERT_TRUE(SetCurrentDirectory("C:\\"));
        OPENFILENAME ofn = Record(OFN_EXPLORER | c.extraFlags);
        DialogAnswerer answer(OnDialog([&](QFileDialog* dialog) {
            // The user walks away from the initial folder before choosing.
            dialog->setDirectory(drives.PosixPath('D', "hudba"));
            TypeAndPressSave(dialog, "x.wav", {});
        }));
        ASSERT_TRUE(GetSaveFileName(ofn));
        EXPECT_EQ(ofn.lpstrFile, "D:\\hudba\\x.wav");
        EXPECT_EQ(GetCurrentDirectory(), c.expected);
    }
}

TEST_F(GetSaveFileNameTest, LongPathsComeBackWhole) {
    QString relative;
    for (int i = 0; i < 6; ++i)
        relative += QString(60, QChar(u'a' + i)) + u'/';
    drives.MakeDirectory('C', relative);
    QString windowsFolder = "C:\\" + relative;
    windowsFolder.replace(u'/', u'\\');
    windowsFolder.chop(1);
    OPENFILENAME ofn = Record(OFN_EXPLORER);
    ofn.lpstrInitialDir = windowsFolder;
    const QString name = QString(100, u'z') + ".wav";
    DialogAnswerer answer(TypeAndAccept(name));
    ASSERT_TRUE(GetSaveFileName(ofn));
    EXPECT_EQ(ofn.lpstrFile, windowsFolder + u'\\' + name);
    EXPECT_GT(ofn.lpstrFile.size(), 400);
    EXPECT_EQ(GetCurrentDirectory(), windowsFolder);
}

TEST_F(GetSaveFileNameTest, HookHearsTheDialogAndCanMoveAndRefuse) {
    drives.MakeDirectory('D', "hudba");
    OPENFILENAME ofn = Record(OFN_EXPLORER | OFN_ENABLEHOOK);
    QList<int> heard;
    QString pathAtFileOk;
    int refusals = 1;
    ofn.lpfnHook = [&](FileDialogWindow& dialog, int notification) {
        heard.append(notification);
        if (notification == CDN_INITDONE)
            dialog.MoveFrame(7, 9);
        if (notification == CDN_FILEOK) {
            pathAtFileOk = dialog.FilePath();
            return refusals-- <= 0;
        }
        return true;
    };
    QPoint position;
    bool stayedOpen = false;
    DialogAnswerer answer(OnDialog([&](QFileDialog* dialog) {
        position = dialog->frameGeometry().topLeft();
        QTest::keyClick(TypeList(dialog), Qt::Key_Down);
        TypeAndPressSave(dialog, "D:\\hudba", {}); // opens the folder
        TypeAndPressSave(dialog, "x.wav", {});     // refused by the hook
        stayedOpen = QApplication::activeModalWidget() == dialog;
        Accept(dialog);
    }));
    ASSERT_TRUE(GetSaveFileName(ofn));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(position, QPoint(7, 9));
    EXPECT_EQ(pathAtFileOk, "D:\\hudba\\x.wav");
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_EQ(heard.first(), CDN_INITDONE);
    EXPECT_EQ(heard.last(), WM_DESTROY);
    EXPECT_EQ(heard.count(CDN_FILEOK), 2);
    EXPECT_TRUE(heard.contains(CDN_TYPECHANGE));
    EXPECT_TRUE(heard.contains(CDN_FOLDERCHANGE));
}

TEST_F(GetSaveFileNameTest, HookIsIgnoredWithoutItsFlag) {
    OPENFILENAME ofn = Record(OFN_EXPLORER);
    int calls = 0;
    ofn.lpfnHook = [&](FileDialogWindow&, int) {
        ++calls;
        return false;
    };
    DialogAnswerer answer(TypeAndAccept("x.wav"));
    EXPECT_TRUE(GetSaveFileName(ofn));
    EXPECT_EQ(calls, 0);
}

} // namespace
