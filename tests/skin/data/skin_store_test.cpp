#include "skin/data/skin_store.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(SkinStore, ItemsAreNamedByIdAndNamesStayUnique) {
    TSkinStore store;
    TSkinCollectionItem* a = store.Store.Add();
    TSkinCollectionItem* b = store.Store.Add();
    EXPECT_EQ(a->Name(), "SkinItem0");
    EXPECT_EQ(b->Name(), "SkinItem1");
    store.Store.Delete(0);
    EXPECT_EQ(store.Store.Add()->Name(), "SkinItem2");  // IDs are never reused

    b->SetName("Blue");
    b->SetName("Blue");  // the same name again is no change
    TSkinCollectionItem* c = store.Store.Items(1);
    try {
        c->SetName("Blue");
        FAIL() << "duplicate name accepted";
    } catch (const ESkinStoreError& e) {
        EXPECT_STREQ(e.what(), "The name Blue is already used.");
    }
    EXPECT_EQ(c->Name(), "SkinItem2");
    EXPECT_EQ(c->SkinData(), "Load Skin");
    c->SetSkinData("anything");
    EXPECT_EQ(c->SkinData(), "Load Skin");
}

TEST(SkinStore, DataIsCopiedAppendedAndStoredRaw) {
    TSkinStore store;
    TSkinCollectionItem* a = store.Store.Add();
    TMemoryStream in(std::vector<uint8_t>{1, 2, 3});
    a->ReadDataStream(in);
    EXPECT_EQ(a->DataSize(), 3u);

    TMemoryStream dest(std::vector<uint8_t>{9});
    a->CopyData(&dest);
    a->CopyData(&dest);
    EXPECT_EQ(dest.Bytes(), (std::vector<uint8_t>{9, 1, 2, 3, 1, 2, 3}));

    TMemoryStream out;
    a->WriteDataStream(out);
    EXPECT_EQ(out.Bytes(), (std::vector<uint8_t>{1, 2, 3}));

    TSkinCollectionItem* b = store.Store.Add();
    b->SetName("Copy");
    TSkinCollection other;
    TSkinCollectionItem* c = other.Add();
    c->Assign(*b);
    EXPECT_EQ(c->Name(), "Copy");
    c->Assign(*a);
    EXPECT_EQ(c->DataSize(), 3u);
    EXPECT_FALSE(a->LoadFromFile("/nonexistent/velmor-skin"));
    EXPECT_EQ(a->DataSize(), 3u);
}

}  // namespace
}  // namespace skin
