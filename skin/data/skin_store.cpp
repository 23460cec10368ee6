#include "skin/data/skin_store.h"

#include "skin/data/ansi_text.h"

namespace skin {

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection* collection, int id)
    : collection_(collection), id_(id), FName("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
    if (name == FName) {
        return;
    }
    if (collection_ != nullptr) {
        const TSkinCollectionItem* other = collection_->Find(name);
        if (other != nullptr && other != this) {
            throw ESkinStoreError("The name " + name + " is already used.");
        }
    }
    FName = name;
}

bool TSkinCollectionItem::LoadFromFile(const std::string& name) {
    TMemoryStream file;
    if (!file.LoadFromFile(name)) {
        return false;
    }
    FData = std::move(file);
    return true;
}

void TSkinCollectionItem::CopyData(TMemoryStream* dest) {
    const size_t keep = FData.Position();
    FData.SetPosition(0);
    dest->SetPosition(dest->Size());
    dest->CopyFrom(FData, FData.Size());
    FData.SetPosition(keep);
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& other) {
    if (&other == this) {
        return;
    }
    SetName(other.FName);
    FData = other.FData;
}

void TSkinCollectionItem::ReadDataStream(TStream& in) {
    FData.Clear();
    FData.CopyFrom(in, in.Remaining());
    FData.SetPosition(0);
}

void TSkinCollectionItem::WriteDataStream(TStream& out) const {
    out.Write(FData.Bytes().data(), FData.Size());
}

TSkinCollectionItem* TSkinCollection::Add() {
    items_.push_back(std::make_unique<TSkinCollectionItem>(this, next_id_++));
    return items_.back().get();
}

void TSkinCollection::Delete(int index) {
    items_.erase(items_.begin() + index);
}

TSkinCollectionItem* TSkinCollection::Find(const std::string& name) {
    for (const auto& item : items_) {
        if (ansi_same_text(item->Name(), name)) {
            return item.get();
        }
    }
    return nullptr;
}

}  // namespace skin
