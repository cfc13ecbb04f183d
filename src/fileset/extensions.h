// The built-in extension list offered by the three extension combo boxes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vb {

inline constexpr std::string_view kBuiltinExtensionList =
    "mp4--txt--mp3--exe--xlsx--docx--pptx--jpg--png--pdf--zip--rar--7z--ico--psd--bmp--html--htm--js--"
    "css--avi--tmp--doc--xls--ppt--rtf--wps--arj--gz--gif--pic--tif--wav--aif--au--ram--wma--mmf--aac--"
    "flac--mpg--mov--swf--dll--ini--asm--obj--bas--java--bak--bat--cmd--dat--icn--iff--mpeg--chm--cpp";

// The list split at every "--", without dots, in list order.
std::vector<std::string> builtinExtensions();

// The first item (when not empty), then "." + every extension.
std::vector<std::string> fullExtensionItems(std::string_view firstItem);

// The items after the user typed `typed`: nothing when it is empty; otherwise the first item
// (when not empty), the extensions holding `typed` without its dots (ASCII case ignored),
// then the others. Every extension appears once.
std::vector<std::string> narrowedExtensionItems(std::string_view typed, std::string_view firstItem);

}  // namespace vb
