#pragma once

// The trace's fixed texts, as code page 932 bytes (the file is Shift-JIS whatever the host).
namespace keyvane::trace::text {

// "ボタンを押す\n"
inline constexpr char kPressLine[] = "\x83\x7b\x83\x5e\x83\x93\x82\xf0\x89\x9f\x82\xb7\n";
// "ボタンを押し続ける\n": a held button's last key goes down again
inline constexpr char kRepeatLine[] = "\x83\x7b\x83\x5e\x83\x93\x82\xf0\x89\x9f\x82\xb5\x91\xb1\x82\xaf\x82\xe9\n";
// "ボタンを放す\n"
inline constexpr char kReleaseLine[] = "\x83\x7b\x83\x5e\x83\x93\x82\xf0\x95\xfa\x82\xb7\n";
// "操作キー仮想コード="
inline constexpr char kKeyCodePrefix[] = "\x91\x80\x8d\xec\x83\x4c\x81\x5b\x89\xbc\x91\x7a\x83\x52\x81\x5b\x83\x68=";
// "マウスでした\n"
inline constexpr char kMouseLine[] = "\x83\x7d\x83\x45\x83\x58\x82\xc5\x82\xb5\x82\xbd\n";

}  // namespace keyvane::trace::text
