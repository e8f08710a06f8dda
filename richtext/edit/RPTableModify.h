#pragma once
// The scope of one table command. In an editor's document it opens an undo
// group and, once the grid has changed (Done), records the table as it was
// and closes the group; an exception from the grid closes the group empty,
// and so drops it. Outside an editor only the table is marked changed.
#include <string>

#include "richtext/edit/RPTable.h"

class TRPTableItemInfo::TModify {
public:
    explicit TModify(TRPTableItemInfo& ATable);
    TModify(const TModify&) = delete;
    TModify& operator=(const TModify&) = delete;
    ~TModify();
    void Done();

private:
    TRPTableItemInfo& Table;
    TRPEditRPData* Data = nullptr;
    int ItemNo = -1;
    std::string Before;
};
