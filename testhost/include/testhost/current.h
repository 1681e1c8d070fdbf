#pragma once
// The parts of the host now running, for the entries and methods it serves: each
// reaches the model it acts on, not the whole host. The host hands them over while
// it lives; one host runs at a time.
namespace testhost {

class Application;
class Bitmaps;
class Commands;
class Kernel;
class Ownership;
class Paths;
class Resources;
class Scene;
class Windows;

struct HostParts {
  Ownership* objects;
  Paths* paths;
  Kernel* kernel;
  Scene* scene;
  Windows* windows;
  Resources* resources;
  Bitmaps* bitmaps;
  Commands* commands;
  Application* application;
};

// The host's parts from now on (null: no host runs).
void SetCurrentParts(const HostParts* parts);

Ownership& CurrentObjects();
Paths& CurrentPaths();
Kernel& CurrentKernel();
Scene& CurrentScene();
Windows& CurrentWindows();
Resources& CurrentResources();
Bitmaps& CurrentBitmaps();
Commands& CurrentCommands();
Application& CurrentApplication();

}  // namespace testhost
