#pragma once
// The scope of one table command: BeginModify on entry, EndModify at Done or
// when the scope is left (an exception from the grid then still closes the
// undo group, which an empty group does not survive).
#include "richtext/edit/RPTable.h"

class TRPTableItemInfo::TModify {
public:
    explicit TModify(TRPTableItemInfo& ATable) : Table(ATable) { Table.BeginModify(); }
    TModify(const TModify&) = delete;
    TModify& operator=(const TModify&) = delete;
    ~TModify() { Done(); }
    void Done() {
        if (Open) Table.EndModify();
        Open = false;
    }

private:
    TRPTableItemInfo& Table;
    bool Open = true;
};
