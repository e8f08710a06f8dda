#pragma once
// A document that is its own root, with a style component and options of the
// test's choosing, recording item actions as they fire.
#include <string>
#include <vector>

#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"

class TTestRPData : public TCustomRPData {
public:
    explicit TTestRPData(TRPStyle* AStyle = nullptr) : Style(AStyle) {}
    ~TTestRPData() override { Clear(); }

    TRPStyle* Style;
    TRPOptions Opts = 0;
    TRPRTFReaderProperties* RTFProps = nullptr;
    struct TAction {
        int Action;
        std::string Text;
        int ItemNo; // the item's index when the action fired, -1 when not in the list
    };
    std::vector<TAction> Actions;
    std::vector<std::pair<int, int>> ControlActions;

    TRPStyle* GetRPStyle() const override { return Style; }
    TRPOptions GetOptions() const override { return Opts; }
    TRPRTFReaderProperties* GetRTFReadProperties() override { return RTFProps; }
    void DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text,
                      TCustomRPData* RPData) override {
        (void)RPData;
        Actions.push_back({ItemAction, Text, GetItemNo(Item)});
    }
    void DoControlAction(int ControlAction, int ItemNo, TControl* Control) override {
        (void)Control;
        ControlActions.push_back({ControlAction, ItemNo});
    }

    // Every entry holds an object (no freed or missing item is reachable).
    bool AllEntriesHoldItems() const {
        for (int i = 0; i < GetItemCount(); ++i)
            if (!GetItem(i)) return false;
        return true;
    }
};
