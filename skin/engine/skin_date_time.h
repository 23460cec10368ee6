#pragma once

#include "skin/engine/skin_control.h"

namespace skin {

// The drop-down arrow laid over a date picker's button: a child window of the picker that
// draws the skin's combo arrow and hands a click on to the picker.
class TArrowButton {
  public:
    TArrowButton(win::HWND picker, TSkinData* sd);
    ~TArrowButton();
    TArrowButton(const TArrowButton&) = delete;
    TArrowButton& operator=(const TArrowButton&) = delete;
    win::HWND Handle() const { return hwnd_; }
    // Keeps it over the picker's button.
    void Place();

  private:
    static win::LRESULT Proc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    win::LRESULT Dispatch(win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    void Paint(gdi::DC& dc);
    win::HWND picker_ = nullptr;
    win::HWND hwnd_ = nullptr;
    TSkinData* fsd_ = nullptr;
    bool over_ = false;
};

// Date pickers: a 1-pixel frame in the button-shadow colour with a white frame inside, and
// the skin's arrow over the drop-down button.
class TSkinDateTime : public TSkinControl {
    FORMS_CLASS(TSkinDateTime, TSkinControl)
  public:
    ~TSkinDateTime() override;
    void Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner, bool newcolor) override;
    void Unsubclass() override;
    TArrowButton* Arrow() const { return arrow_.get(); }

  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool PaintsOverPlain() const override { return true; }
    bool BeforeProc(forms::TMessage& m) override;

  private:
    std::unique_ptr<TArrowButton> arrow_;
};

}  // namespace skin
