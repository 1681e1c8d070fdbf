#include "fixture.h"

void PluginTest::TearDown() {
  if (host_->Loaded()) host_->Unload();
  for (const std::string& failure : host_->Failures()) ADD_FAILURE() << failure;
  host_.reset();
}

std::string MissingTableLine() {
  return "CRITICAL: Assertion failed: t_HostOS_Ge && t_HostOS_Sh && t_HostOS_Hf && t_HostOS_Bc && "
         "t_HostOS_St && t_HostOS_Bm && t_HostOS_Ms && t_HostOS_Ba && t_HostOS_Fn && t_HostOS_Fl && "
         "t_HostOS_Bf && t_HostOS_Cd && t_HostOS_Cu && t_HostOS_Pr && t_HostOS_Lr && t_HostOS_Bl && "
         "t_HostOS_Tg && t_HostOS_Bo && t_HostOS_Bd && t_HostOS_Bt && t_HostOS_Mt && t_HostOS_Tx && "
         "t_HostOS_Bs && t_HostOS_Bu && t_HostOS_Br && t_HostOS_Bv && t_HostOS_Nb && t_HostOS_Pl && "
         "t_HostOS_Fi && t_HostOS_Pa && t_HostOS_Ln && t_HostOS_Gv && t_HostOS_Gd && t_HostOS_At && "
         "t_HostOS_CA && t_HostOS_Ne && t_HostOS_FL [operatingsystem.cpp(136)]\n";
}
