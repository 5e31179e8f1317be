// Play-address-style documents of a chosen size: a root holding durl elements, each with an
// address and two backup addresses as CDATA, as the site's interface answers.
#pragma once

#include <cstddef>
#include <string>

namespace quorvane::xml_bench {

inline std::string PlayUrlDocument(size_t targetBytes) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<video>\n<result>suee</result>\n"
      "<timelength>3760000</timelength>\n<format>flv</format>\n"
      "<accept_format><![CDATA[flv,hdmp4,mp4]]></accept_format>\n"
      "<accept_quality><![CDATA[3,2,1]]></accept_quality>\n";
  xml.reserve(targetBytes + 1024);
  for (size_t order = 1; xml.size() < targetBytes; ++order) {
    const std::string n = std::to_string(order);
    const std::string address = "http://cn-zjwz4-dx.acgvideo.com/vg4/f/3d/12345678-" + n +
                                "-hd.flv?expires=1500000000&ssig=abcdEFGHijklMNOP&oi=1234567"
                                "&nfa=BTtOpcamF1jPBt2i&dynamic=1&hfa=" +
                                n;
    xml += "<durl>\n<order>" + n + "</order>\n<length>376000</length>\n<size>29000000</size>\n";
    xml += "<url><![CDATA[" + address + "]]></url>\n<backup_url>\n";
    xml += "<url><![CDATA[" + address + "&backup=1]]></url>\n";
    xml += "<url><![CDATA[" + address + "&backup=2]]></url>\n</backup_url>\n</durl>\n";
  }
  xml += "</video>\n";
  return xml;
}

}  // namespace quorvane::xml_bench
