#include "syntax/AttrItem.h"

#include <bitset>

namespace quillet {

int TDefFont::PointSize() const
{
    const int pixels = Height < 0 ? -Height : Height;
    return (pixels * 72 + 48) / 96;
}

void TDefFont::SetPointSize(int points)
{
    Height = -((points * 96 + 36) / 72);
}

TAttrItem& TFontList::Add()
{
    TAttrItem item;
    item.FontID = GetUniqueID();
    Items.push_back(item);
    return Items.back();
}

int TFontList::GetUniqueID() const
{
    std::bitset<256> used;
    for (const TAttrItem& item : Items) {
        if (item.FontID >= 0 && item.FontID <= 255) {
            used.set(static_cast<std::size_t>(item.FontID));
        }
    }
    for (int id = 0; id < 255; ++id) {
        if (id != 12 && !used.test(static_cast<std::size_t>(id))) {
            return id;
        }
    }
    return -1;
}

const TAttrItem* TFontList::GetItemByID(int id) const
{
    for (const TAttrItem& item : Items) {
        if (item.FontID == id) {
            return &item;
        }
    }
    return nullptr;
}

TAttrItem* TFontList::GetItemByID(int id)
{
    for (TAttrItem& item : Items) {
        if (item.FontID == id) {
            return &item;
        }
    }
    return nullptr;
}

} // namespace quillet
