// t_HostOS_Bd: documents.
#include "scene_tables.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/scene.h"

namespace testhost {
namespace {

SceneObject* ActiveObject(const Document* document) {
  Contract contract;
  if (!contract.NotNull(document, "document")) return nullptr;
  if (!contract.Check(CurrentScene().IsDocument(document), "document",
                      "must be a document of the host"))
    return nullptr;
  return document->active;
}

}  // namespace

void InstallDocumentEntries(HostTables& tables) { Install<entry::ActiveObject, &ActiveObject, kMainThread>(tables); }

}  // namespace testhost
