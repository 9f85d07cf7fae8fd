#include "window/FileNameText.h"

#include <QFile>

QString DisplayFileName(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

std::string FileNameBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
