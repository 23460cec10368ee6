#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/data/memory_stream.h"

namespace skin {

class TSkinCollection;

// Raised when an item is given the name of another item of its collection.
class ESkinStoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One stored skin: a name and one compressed stream.
class TSkinCollectionItem {
  public:
    TSkinCollectionItem(TSkinCollection* collection, int id);

    const std::string& Name() const { return FName; }
    // Refuses, with "The name <name> is already used.", a name another item has; setting the
    // item's own name again changes nothing.
    void SetName(const std::string& name);
    int ID() const { return id_; }

    // The design-time property: always reads "Load Skin"; writing does nothing.
    std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string&) {}

    size_t DataSize() const { return FData.Size(); }
    const TMemoryStream& Data() const { return FData; }
    // Replaces the data with the file's bytes; false when the file cannot be read.
    bool LoadFromFile(const std::string& name);
    // Appends all of the data to dest; the data's own position is kept.
    void CopyData(TMemoryStream* dest);
    void Assign(const TSkinCollectionItem& other);

    // The stored binary property "DataStream": the raw bytes, no length of their own.
    void ReadDataStream(TStream& in);
    void WriteDataStream(TStream& out) const;

  private:
    TSkinCollection* collection_;
    int id_;
    std::string FName;
    TMemoryStream FData;
};

class TSkinCollection {
  public:
    // A new item named "SkinItem" followed by its ID.
    TSkinCollectionItem* Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TSkinCollectionItem* Items(int index) { return items_.at(static_cast<size_t>(index)).get(); }
    void Delete(int index);
    void Clear() { items_.clear(); }
    // The item named name (compared without regard to letter case), or nullptr.
    TSkinCollectionItem* Find(const std::string& name);

  private:
    std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
    int next_id_ = 0;
};

// The skin store component: a collection of named skins.
class TSkinStore {
  public:
    TSkinCollection Store;
};

}  // namespace skin
