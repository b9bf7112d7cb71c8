#pragma once
// The help viewer: one window of the process that shows a UTF-8 HTML help file, titled after
// the document's <title>, and scrolls to a topic, the element of that id.

#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace win32 {

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    // The open viewer, or null when there is none and `create` is false.
    static HelpViewer* Instance(bool create);

    // Shows the file at `posixPath`, read afresh; false when it cannot be read.
    bool Load(const QString& posixPath);
    QString FilePath() const { return filePath_; }
    // Brings the window up at the top of the document.
    void ShowContents();
    // Brings the window up at the topic; false when the document has no such topic.
    bool ShowTopic(const QString& topic);
    bool HasTopic(const QString& topic) const;
    QTextBrowser* Browser() const { return browser_; }

private:
    HelpViewer();
    void BringUp();

    static QPointer<HelpViewer> instance_;
    QTextBrowser* browser_;
    QString filePath_;
};

} // namespace win32
