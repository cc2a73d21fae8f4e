#pragma once

#include <QString>
#include <QStringList>

namespace corvelt {

// The result files opened last, newest first, and the folder of the newest, kept in
// the user's settings (QSettings with the application's organisation and name) so
// that they outlive the run.
class RecentFiles {
  public:
    static constexpr int capacity = 8;

    QStringList files() const;
    // Puts the file first (once) and drops what falls off the end. Takes an absolute
    // path.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();
    // Where the file dialogs start when no file is open; empty before the first file.
    QString lastFolder() const;
};

}  // namespace corvelt
