#include "program/selection.h"

#include "core/data_module.h"
#include "core/helpers.h"

namespace morvela {

void NacitajIDsutaz(Tdm& dm, Selection& sel, const std::string& label) {
  sel.competition.clear();
  sel.team_count = 0;
  sel.LM = sel.EL = sel.BARAZ = sel.VYP = 0;
  Query q(dm.ADOConnection1);
  q.Open("SELECT ID,POCET,LM,EL,BARAZ,VYP FROM SUTAZ WHERE ID_LIGA=" + sel.league +
         " AND ROCNIK=" + QuoteSqlText(label));
  if (!q.Eof()) {
    sel.competition = q.FieldByName("ID").AsString();
    sel.team_count = static_cast<uint8_t>(q.FieldByName("POCET").AsInteger());
    sel.LM = static_cast<uint8_t>(q.FieldByName("LM").AsInteger());
    sel.EL = static_cast<uint8_t>(q.FieldByName("EL").AsInteger());
    sel.BARAZ = static_cast<uint8_t>(q.FieldByName("BARAZ").AsInteger());
    sel.VYP = static_cast<uint8_t>(q.FieldByName("VYP").AsInteger());
  }
  sel.season = label;
}

}  // namespace morvela
