// The help file: UTF-8 HTML placed beside the executable, with the topic the help button jumps to
// and a word on every control of the main window.
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The tests run from build/tests; the program and its help file live in build/bin.
QString sourceHelpPath() {
    return QStringLiteral(ZVONKAR_SOURCE_DIR "/resources/help/zvonkar.hlp");
}

QString runtimeHelpPath() {
    return QStringLiteral(ZVONKAR_RUNTIME_DIR "/zvonkar.hlp");
}

QString helpText() {
    QStringDecoder utf8(QStringDecoder::Utf8);
    return utf8.decode(readFile(sourceHelpPath()));
}

// The anchor names a rich-text viewer can scroll to.
QStringList anchorsOf(const QTextDocument& document) {
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            names += it.fragment().charFormat().anchorNames();
    return names;
}

TEST(HelpFile, IsValidUtf8AndCarriesItsTitle) {
    const QByteArray bytes = readFile(sourceHelpPath());
    ASSERT_FALSE(bytes.isEmpty()) << sourceHelpPath().toStdString();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    EXPECT_FALSE(utf8.hasError());
    QTextDocument document;
    document.setHtml(text);
    EXPECT_EQ(document.metaInformation(QTextDocument::DocumentTitle),
              QString::fromUtf8("Zvonkar pro Windows 95 – nápověda"));
}

TEST(HelpFile, IsCopiedBesideTheProgram) {
    const QByteArray copy = readFile(runtimeHelpPath());
    ASSERT_FALSE(copy.isEmpty()) << runtimeHelpPath().toStdString();
    EXPECT_EQ(copy, readFile(sourceHelpPath())) << "the copy beside the program is stale";
}

TEST(HelpFile, ViewerCanJumpToTheMainTopicAndEveryLink) {
    const QString text = helpText();
    EXPECT_TRUE(text.contains(QStringLiteral("id=\"IDH_1\"")));
    QTextDocument document;
    document.setHtml(text);
    const QStringList anchors = anchorsOf(document);
    EXPECT_TRUE(anchors.contains(QStringLiteral("IDH_1")));
    const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (const QRegularExpressionMatch& m : link.globalMatch(text))
        EXPECT_TRUE(anchors.contains(m.captured(1)))
            << "broken link #" << m.captured(1).toStdString();
}

TEST(HelpFile, ExplainsEveryControlAndButton) {
    QTextDocument document;
    document.setHtml(helpText());
    const QString shown = document.toPlainText();
    const char* const phrases[] = {"Výběr disku",
                                   "Strom složek",
                                   "dvojitým klepnutím",
                                   "Enter",
                                   "Seznam souborů",
                                   "šipkami",
                                   "Kb",
                                   "Zastavit přehrávání",
                                   "Nápověda",
                                   "Ukončení programu",
                                   "Smazat soubor",
                                   "Kopírovat soubor",
                                   "Nedostatek místa na disku",
                                   "Přejmenovat soubor",
                                   ".wav",
                                   "přesune",
                                   "teprve tehdy, když vyberete soubor",
                                   "Opravdu to chcete zabalit ?",
                                   "O programu",
                                   "zapamatuje",
                                   "ZVONKAR_DRIVES",
                                   "C=/home/jana;D=/media/cd,cdrom,AUDIO"};
    for (const char* phrase : phrases)
        EXPECT_TRUE(shown.contains(QString::fromUtf8(phrase))) << phrase;
}

} // namespace
