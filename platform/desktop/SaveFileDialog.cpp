#include "platform/desktop/SaveFileDialog.h"

#include "platform/core/errhandling.h"
#include "platform/files/DriveMap.h"
#include "platform/files/paths.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMimeDatabase>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>
#include <QUrl>

namespace win32 {

namespace {

// "Name (*.wav *.WAV)" for Qt; Windows' "*.*" matches names without a dot too, which is Qt's "*".
QString QtFilter(const FileFilter& filter) {
    QStringList patterns;
    for (const QString& part : filter.Pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        patterns.append(pattern == u"*.*" ? QStringLiteral("*") : pattern);
    }
    return QStringLiteral("%1 (%2)").arg(filter.Name, patterns.join(u' '));
}

QString PosixText(const QByteArray& path) {
    return QFile::decodeName(path);
}

// "C:", or "D: AUDIO" for a drive with a label (or a network name).
QString DriveName(const Drive& drive) {
    const QString label = drive.Label.isEmpty() ? drive.RemoteName : drive.Label;
    const QString letter = QString(QChar(drive.Letter)) + u':';
    return label.isEmpty() ? letter : letter + u' ' + label;
}

// The role in which the side bar's model keeps each place's URL.
constexpr int kPlaceUrlRole = Qt::UserRole + 1;

} // namespace

SaveFileDialog::SaveFileDialog(const SaveFileRequest& request)
    : QFileDialog(request.Owner()), request(request) {
    const DWORD flags = request.Flags();
    setOption(DontUseNativeDialog);
    // The checks of accept() ask about replacing, in the order the desktop's dialog does.
    setOption(DontConfirmOverwrite);
    setOption(DontResolveSymlinks, (flags & OFN_NODEREFERENCELINKS) != 0);
    setOption(HideNameFilterDetails);
    setAcceptMode(AcceptSave);
    setFileMode(AnyFile);
    setViewMode(Detail);
    setWindowTitle(request.Caption());
    setSizeGripEnabled((flags & OFN_ENABLESIZING) != 0);
    ShowDrivesInSideBar();

    if (!request.Filters().isEmpty()) {
        QStringList filters;
        for (const FileFilter& filter : request.Filters())
            filters.append(QtFilter(filter));
        setNameFilters(filters);
        selectNameFilter(filters.at(request.FilterIndex() - 1));
    }
    if (!request.StartFolder().isEmpty())
        setDirectory(request.StartFolder());
    if (!request.ProposedName().isEmpty())
        selectFile(request.ProposedName());

    connect(this, &QFileDialog::currentChanged, this,
            [this] { this->request.Notify(*this, CDN_SELCHANGE); });
    connect(this, &QFileDialog::directoryEntered, this,
            [this] { this->request.Notify(*this, CDN_FOLDERCHANGE); });
    connect(this, &QFileDialog::filterSelected, this,
            [this] { this->request.Notify(*this, CDN_TYPECHANGE); });
}

void SaveFileDialog::ShowDrivesInSideBar() {
    QList<QUrl> roots;
    QHash<QString, QString> names;
    for (const Drive& drive : CurrentDriveMap()->Drives()) {
        if (!DriveHasMedium(drive))
            continue;
        const QUrl root = QUrl::fromLocalFile(PosixText(drive.Folder));
        roots.append(root);
        names.insert(root.toLocalFile(), DriveName(drive));
    }
    // The side bar names each place after its folder, again whenever the folder changes; each
    // time, the place gets its drive's name back, so that screen readers hear it too.
    if (auto* sideBar = findChild<QListView*>(QStringLiteral("sidebar"))) {
        QAbstractItemModel* places = sideBar->model();
        connect(places, &QAbstractItemModel::dataChanged, this,
                [places, names](const QModelIndex& first, const QModelIndex& last) {
                    for (int row = first.row(); row <= last.row(); ++row) {
                        const QModelIndex place = places->index(row, 0);
                        const QString name =
                            names.value(place.data(kPlaceUrlRole).toUrl().toLocalFile());
                        if (!name.isEmpty() && place.data().toString() != name)
                            places->setData(place, name);
                    }
                });
    }
    setSidebarUrls(roots);
}

SaveOutcome SaveFileDialog::Run() {
    SaveOutcome outcome;
    outcome.Accepted = exec() == QDialog::Accepted;
    outcome.WindowsPath = chosen;
    outcome.FilterIndex = FilterIndex();
    request.Notify(*this, WM_DESTROY);
    return outcome;
}

QRect SaveFileDialog::Frame() const {
    return frameGeometry();
}

void SaveFileDialog::MoveFrame(int left, int top) {
    move(left, top);
}

QString SaveFileDialog::FilePath() const {
    const std::optional<SaveChoice> choice = TypedChoice();
    return choice ? choice->WindowsPath : QString();
}

QString SaveFileDialog::FolderPath() const {
    return ToWindowsPath(QFile::encodeName(directory().absolutePath())).value_or(QString());
}

int SaveFileDialog::FilterIndex() const {
    // The shown names are shortened, so the type list itself tells which one is chosen.
    const auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    return types && types->currentIndex() >= 0 ? types->currentIndex() + 1 : 1;
}

void SaveFileDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    WidenToFit();
    if (!(request.Flags() & OFN_ENABLESIZING))
        setFixedSize(size());
    request.Notify(*this, CDN_INITDONE);
}

// Widens the dialog so that the detail view's columns show their texts whole at the dialog's
// font: sizes, types and dates as the file system model writes them in this locale, and a long
// file name; and the side bar so that the drive names show whole.
void SaveFileDialog::WidenToFit() {
    auto* tree = findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* sideBar = findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = findChild<QSplitter*>(QStringLiteral("splitter"));
    if (!tree || !sideBar || !splitter || splitter->count() != 2)
        return;
    const QFontMetrics metrics(tree->font());
    const QLocale locale = QLocale::system();
    QStringList samples[4];
    samples[0] << QString(40, u'n');
    for (const qint64 bytes : {1023LL, 1048570LL, 1073736000LL, 1099506000000LL})
        samples[1] << locale.formattedDataSize(bytes);
    samples[2] << QFileIconProvider().type(QFileInfo(QDir::rootPath()))
               << QFileIconProvider().type(QFileInfo(QDir::tempPath()))
               << QMimeDatabase()
                      .mimeTypeForFile(QStringLiteral("x.wav"), QMimeDatabase::MatchExtension)
                      .comment();
    for (int month = 1; month <= 12; ++month)
        samples[3] << locale.toString(QDateTime(QDate(2000, month, 28), QTime(23, 59, 59)),
                                      QLocale::ShortFormat);

    const int cellMargin = 2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const int slack = metrics.averageCharWidth();
    QHeaderView* header = tree->header();
    int treeWidth = 2 * tree->frameWidth() + tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int column = 0; column < 4; ++column) {
        int width = header->sectionSizeHint(column);
        for (const QString& text : samples[column])
            width = qMax(width, metrics.horizontalAdvance(text) + cellMargin + slack);
        if (column == 0)
            width += tree->style()->pixelMetric(QStyle::PM_SmallIconSize) + cellMargin;
        header->resizeSection(column, width);
        treeWidth += width;
    }

    int sideWidth = splitter->sizes().value(0);
    for (int row = 0; row < sideBar->model()->rowCount(); ++row)
        sideWidth =
            qMax(sideWidth, sideBar->sizeHintForIndex(sideBar->model()->index(row, 0)).width() +
                                2 * sideBar->frameWidth() + slack);

    const int grow =
        sideWidth + treeWidth - (splitter->sizes().value(0) + splitter->sizes().value(1));
    const int available = screen() ? screen()->availableGeometry().width() : width() + grow;
    if (grow > 0) {
        resize(qMin(width() + grow, available), height());
        layout()->activate();
    }
    splitter->setSizes({sideWidth, splitter->width() - sideWidth - splitter->handleWidth()});
}

QString SaveFileDialog::TypedText() const {
    const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text().trimmed() : QString();
}

std::optional<SaveChoice> SaveFileDialog::TypedChoice() const {
    const QString typed = TypedText();
    if (typed.isEmpty())
        return std::nullopt;
    // The edit field is what counts: Qt's own selection may still name the proposed file.
    if (!SaveFileRequest::IsWindowsText(typed)) {
        const QString posix = QDir::cleanPath(
            typed.startsWith(u'/') ? typed : directory().absolutePath() + u'/' + typed);
        return request.Resolve(QFile::encodeName(posix));
    }
    // A relative Windows path counts from the folder shown.
    return request.ResolveWindowsText(typed, FolderPath());
}

void SaveFileDialog::accept() {
    const QString typed = TypedText();
    if (typed.isEmpty())
        return;
    if (!SaveFileRequest::IsWindowsText(typed) && !request.IsValidName(typed)) {
        request.Refuse(this, SaveFileRequest::InvalidNameText(typed));
        return;
    }
    const std::optional<SaveChoice> choice = TypedChoice();
    if (!choice) {
        request.Refuse(this, GetLastError() == ERROR_INVALID_NAME
                                 ? SaveFileRequest::InvalidNameText(typed)
                                 : SaveFileRequest::NotOnAnyDriveText(typed));
        return;
    }
    const QFileInfo info(PosixText(choice->PosixPath));
    if (info.isDir()) {
        setDirectory(info.absoluteFilePath());
        if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->clear();
        request.Notify(*this, CDN_FOLDERCHANGE);
        return;
    }
    if (!request.PassesChecks(this, *choice, false) || !request.Notify(*this, CDN_FILEOK))
        return;
    chosen = choice->WindowsPath;
    QDialog::accept();
}

} // namespace win32
