#include "appinfo.h"

#include "version.h"

#include <QCoreApplication>

namespace App {
namespace {
std::string& OverridePath()
{
    static std::string path;
    return path;
}
} // namespace

std::string Title() { return "Tidelet Terminal"; }
std::string CompanyName() { return "Orvane"; }
int Major() { return TIDELET_VERSION_MAJOR; }
int Minor() { return TIDELET_VERSION_MINOR; }
int Revision() { return TIDELET_VERSION_REVISION; }

std::string Path()
{
    if (!OverridePath().empty()) {
        return OverridePath();
    }
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath().toStdString();
    }
    return ".";
}

void SetPath(const std::string& folder) { OverridePath() = folder; }

} // namespace App
