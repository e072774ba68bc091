#include "clsDownload.h"

std::unique_ptr<clsDownload> TpdrDownload;
bool DownloadAttempted = false;
