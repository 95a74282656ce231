#include "app_program_end.h"

#include <QCoreApplication>

namespace quennix {

void AppProgramEnd::endNow() {
    ended_ = true;
    QCoreApplication::exit(0);
}

} // namespace quennix
