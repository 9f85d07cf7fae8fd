// File names cross between the toolkit's text and the system's bytes, which the workflow
// works in, here only.
#pragma once
#include <QString>
#include <string>

QString DisplayFileName(const std::string& bytes);
std::string FileNameBytes(const QString& path);
