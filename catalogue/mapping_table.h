// The download job for a new mapping table: from the configuration service
// (or the machine's MappingURL) into a new temporary file, never straight
// over the local table. The owner copies the file over localPath only when
// the job ended with 0 and IsMappingTableFile accepts it.
#pragma once

#include <string>

#include "catalogue/http_file.h"

namespace VELQCOMMON {

class CVELQMappingTable : public CVELQHttpFile {
public:
    // Describes the local table as the cached copy, so an unchanged table on
    // the server is not downloaded again (and no temporary file is written).
    CVELQMappingTable();
    ~CVELQMappingTable() override;

    // The local table, as GetMappingTablePath gives it.
    std::wstring localPath;
};

}  // namespace VELQCOMMON
