#include "catalogue/mapping_table.h"

#include "catalogue/mt_mgr.h"
#include "shared/files.h"
#include "shared/settings.h"

namespace VELQCOMMON {

CVELQMappingTable::CVELQMappingTable() {
    std::wstring temporary = GetTempFilePath(TempFilePrefix);
    sourceUrl = GetMappingURL();
    localPath = GetMappingTablePath();
    targetPath = temporary;
    cachedWriteTime = GetFileWriteTime(localPath);
    cachedSize = GetFileSize32(localPath);
}

CVELQMappingTable::~CVELQMappingTable() = default;

}  // namespace VELQCOMMON
