#include "platform/ports/tray_data.h"

#include <gtest/gtest.h>
#include <string>

TEST(TrayData, EightyEightBytesLittleEndianWithTheTipAtOffset24) {
  TrayData data;
  data.cbSize = 88;
  data.hWnd = 0x11223344;
  data.uID = 1;
  data.uFlags = 7;
  data.uCallbackMessage = 512;
  data.hIcon = 0xA0B0C0D0;
  data.setTip("Hessamo's Lurvendel");

  const TrayHost::Record bytes = data.bytes();

  const TrayHost::Record::value_type head[24] = {88, 0, 0, 0, 0x44, 0x33, 0x22, 0x11,
                                                 1,  0, 0, 0, 7,    0,    0,    0,
                                                 0,  2, 0, 0, 0xD0, 0xC0, 0xB0, 0xA0};
  for (int i = 0; i < 24; ++i) EXPECT_EQ(bytes[i], head[i]) << "byte " << i;
  const std::string tip = "Hessamo's Lurvendel";
  for (size_t i = 0; i < tip.size(); ++i) EXPECT_EQ(bytes[24 + i], tip[i]);
  EXPECT_EQ(bytes[24 + tip.size()], 0);
  for (size_t i = 24 + tip.size() + 1; i < 88; ++i) EXPECT_EQ(bytes[i], ' ') << "byte " << i;
  EXPECT_EQ(tipOfRecord(bytes), tip);
}

TEST(TrayData, ANewTipReplacesALongerOldOneAndOverlongTipsKeepTheirNul) {
  TrayData data;
  data.setTip("Alarm aktiv! Alarm um: 07:30:00");
  data.setTip("kurz");
  EXPECT_EQ(data.tip(), "kurz");
  EXPECT_EQ(data.szTip[5], ' ');

  data.setTip(std::string(100, 'x'));
  EXPECT_EQ(data.tip(), std::string(63, 'x'));
  EXPECT_EQ(tipOfRecord(data.bytes()), std::string(63, 'x'));
}
