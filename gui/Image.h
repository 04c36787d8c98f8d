// A windowless picture; its data (a JPEG) is stored in the definition as the binary property "Picture.Data".
#pragma once

#include "gui/Control.h"

namespace fw {

class TImage : public TGraphicControl {
  FW_CLASS(TImage)
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  void LoadJpeg(const std::vector<uint8_t>& data);
  int PictureWidth() const { return pictureWidth_; }
  int PictureHeight() const { return pictureHeight_; }
  bool ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data) override;
  void Paint(HDC dc) override;
  std::wstring Automation(const std::wstring& request) override;

 private:
  HBITMAP bitmap_ = nullptr;
  int pictureWidth_ = 0, pictureHeight_ = 0;
};

}  // namespace fw
