#pragma once

#include <functional>

class QString;
class QWidget;

namespace corvelt {

// Told the fraction done (0 to 1) from the worker's thread; returns false once the
// user has cancelled, and the work should then stop.
using WorkProgress = std::function<bool(double fraction)>;

// Runs work(progress) on a worker thread while the caller's event loop keeps
// running, so the window goes on repainting. Work that takes more than a moment
// shows its progress in a modal dialog over the owner with `label` and a Cancel
// button; the cursor shows that the program is busy, and clicks and keys meant for
// any other window are dropped, not kept for later. The work must not touch what
// the event loop changes.
//
// Returns false when the user cancelled (whatever the work threw then); otherwise
// rethrows what the work threw.
bool runWithProgress(QWidget* owner, const QString& label,
                     const std::function<void(const WorkProgress&)>& work);

}  // namespace corvelt
