// SPDX-License-Identifier: MIT
#include "run_error.h"

#include <utility>

namespace quennix {

RunError::RunError(int number, QString description)
    : number_(number), description_(std::move(description)), what_(text().toStdString()) {}

QString RunError::text(Spelling spelling) const {
    const QLatin1String word(spelling == Spelling::Err ? "Err" : "Error");
    return QStringLiteral("%1(%2), %3").arg(word, QString::number(number_), description_);
}

RunError RunError::overflow() {
    return {6, QStringLiteral("Overflow")};
}
RunError RunError::typeMismatch() {
    return {13, QStringLiteral("Type mismatch")};
}
RunError RunError::fileNotFound() {
    return {53, QStringLiteral("File not found")};
}
RunError RunError::deviceIoError() {
    return {57, QStringLiteral("Device I/O error")};
}
RunError RunError::diskFull() {
    return {61, QStringLiteral("Disk full")};
}
RunError RunError::permissionDenied() {
    return {70, QStringLiteral("Permission denied")};
}
RunError RunError::pathFileAccess() {
    return {75, QStringLiteral("Path/File access error")};
}
RunError RunError::pathNotFound() {
    return {76, QStringLiteral("Path not found")};
}

} // namespace quennix
