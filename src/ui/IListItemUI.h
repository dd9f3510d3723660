// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An element of a list or combo: its index, owner, selection and hot state.
namespace ui {

class IListOwnerUI;

class IListItemUI {
public:
    virtual ~IListItemUI() = default;
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(IListOwnerUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    // Selecting through the item selects it in the owner (raising "itemselect" there
    // when `triggerEvent`). False when disabled.
    virtual bool Select(bool select = true, bool triggerEvent = true) = 0;
    virtual bool IsHot() const = 0;
};

}  // namespace ui
