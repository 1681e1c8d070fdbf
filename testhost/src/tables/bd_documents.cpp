// t_HostOS_Bd: documents.
#include "scene_tables.h"
#include "testhost/host.h"

namespace testhost {
namespace {

SceneObject* ActiveObject(const Document* document) {
  Contract contract;
  if (!contract.NotNull(document, "document")) return nullptr;
  if (!contract.Check(Host::Current().SceneModel().IsDocument(document), "document",
                      "must be a document of the host"))
    return nullptr;
  return document->active;
}

}  // namespace

void InstallDocumentEntries(Host& host) { Install<entry::ActiveObject, &ActiveObject>(host); }

}  // namespace testhost
