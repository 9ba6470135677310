#include "core/data_module.h"

#include "core/helpers.h"

namespace morvela {

void Tdm::Work1Uprav() {
  Work1.SetDisplayRule("SKORE", [](const Query& q) {
    std::string s = q.FieldByName("SKORE").AsString();
    if (q.HasField("KONTUMACIA") && q.FieldByName("KONTUMACIA").AsBoolean()) s += " K";
    return s;
  });
}

void Tdm::Work3Uprav(int result_mode) {
  Work3.SetDisplayRule("KURZ", [](const Query& q) {
    Field f = q.FieldByName("KURZ");
    if (f.AsInteger() == 0) return std::string(" ");
    return FormatNumber2(f.AsFloat());
  });
  if (result_mode == 3) {
    for (const char* column : {"TIP1", "TIP2"}) {
      std::string name = column;
      Work3.SetDisplayRule(name,
                           [name](const Query& q) { return q.FieldByName(name).AsString() + "%"; });
    }
  }
}

}  // namespace morvela
