#include "gui/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace corvelt {

namespace {

const QString filesKey = QStringLiteral("files/recent");
const QString folderKey = QStringLiteral("files/lastFolder");

void store(const QStringList& files) {
    QSettings().setValue(filesKey, files);
}

}  // namespace

QStringList RecentFiles::files() const {
    QStringList files = QSettings().value(filesKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, capacity);  // settings may have been edited by hand
}

void RecentFiles::add(const QString& path) {
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list.mid(0, capacity));
    QSettings().setValue(folderKey, QFileInfo(path).absolutePath());
}

void RecentFiles::remove(const QString& path) {
    QStringList list = files();
    list.removeAll(path);
    store(list);
}

void RecentFiles::clear() {
    store({});
}

QString RecentFiles::lastFolder() const {
    return QSettings().value(folderKey).toString();
}

}  // namespace corvelt
