// Built by the test core_rejects_qt with the core's include path and flags; it must not compile.
#include <QtCore/QString>

int probe() { return QString().size(); }
