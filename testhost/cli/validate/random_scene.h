#pragma once
// Random scenes for the dialog and scene cases: objects of every kind the test
// host's scene knows, in chains, wide or mixed hierarchies, and the edits a user
// makes between two scene changes (adding, deleting, moving under another object,
// changing geometry and flags, selecting another object or none).
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "testhost/scene.h"

namespace validate {

class RandomScene {
 public:
  RandomScene(testhost::Scene& scene, testhost::Document* document, std::mt19937_64& random)
      : scene_(scene), document_(document), random_(random) {}

  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random_() % n); }
  bool OneIn(unsigned n) { return random_() % n == 0; }
  std::int32_t Between(std::int32_t low, std::int32_t high) {
    const auto span = static_cast<std::uint64_t>(std::int64_t{high} - low + 1);
    return static_cast<std::int32_t>(low + static_cast<std::int64_t>(random_() % span));
  }

  // Kinds in the proportions of a working scene: mostly polygon objects, then
  // groups, generators, point objects, cameras and instances.
  testhost::ObjectKind AnyKind() {
    using testhost::ObjectKind;
    static constexpr ObjectKind kKinds[] = {
        ObjectKind::Polygon, ObjectKind::Polygon, ObjectKind::Polygon, ObjectKind::Polygon, ObjectKind::Polygon,
        ObjectKind::Null,    ObjectKind::Null,    ObjectKind::Cube,    ObjectKind::Sphere,  ObjectKind::Plane,
        ObjectKind::Point,   ObjectKind::Point,   ObjectKind::Camera,  ObjectKind::Instance};
    return kKinds[Below(std::size(kKinds))];
  }

  // Geometry for an object of `kind`: small counts mostly, now and then none or a
  // large mesh, and sometimes n-gons on an object without polygons, which must
  // then not be counted.
  testhost::ObjectShape ShapeFor(testhost::ObjectKind kind) {
    testhost::ObjectShape shape;
    switch (kind) {
      case testhost::ObjectKind::Polygon:
        shape.polygons = OneIn(8) ? 0 : OneIn(20) ? Between(1000, 20000) : Between(1, 64);
        shape.points = OneIn(10) ? 0 : shape.polygons + Between(0, 64);
        shape.ngons = OneIn(3) ? 0 : Between(0, shape.polygons / 4 + (shape.polygons == 0 ? 3 : 0));
        break;
      case testhost::ObjectKind::Point:
        shape.points = OneIn(6) ? 0 : Between(1, 500);
        break;
      case testhost::ObjectKind::Cube:
      case testhost::ObjectKind::Sphere:
      case testhost::ObjectKind::Plane:
        shape.segments = OneIn(12) ? 0 : Between(1, 12);
        break;
      default:
        break;
    }
    return shape;
  }

  testhost::SceneObject* Add(testhost::ObjectKind kind, testhost::SceneObject* parent) {
    testhost::SceneObject* object = scene_.AddObject(document_, kind, ShapeFor(kind), parent);
    objects_.push_back(object);
    return object;
  }
  testhost::SceneObject* AddAny(testhost::SceneObject* parent) { return Add(AnyKind(), parent); }

  // `count` objects, each below the one before; the first is at the top level.
  testhost::SceneObject* Chain(std::size_t count, testhost::SceneObject* parent = nullptr) {
    testhost::SceneObject* top = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
      parent = AddAny(parent);
      if (top == nullptr) top = parent;
    }
    return top;
  }
  // A group with `count` objects side by side below it.
  testhost::SceneObject* Wide(std::size_t count, testhost::SceneObject* parent = nullptr) {
    testhost::SceneObject* group = Add(testhost::ObjectKind::Null, parent);
    for (std::size_t i = 0; i < count; ++i) AddAny(group);
    return group;
  }
  // `count` objects, each directly below `root` (the top level when null) or below
  // one made before it; short runs of chains and siblings make both deep and wide
  // parts.
  void Mixed(std::size_t count, testhost::SceneObject* root = nullptr) {
    while (count > 0) {
      testhost::SceneObject* parent = objects_.empty() || OneIn(10) ? root : objects_[Below(objects_.size())];
      const std::size_t run = std::min<std::size_t>(count, 1 + Below(12));
      if (OneIn(2)) Chain(run, parent);
      else for (std::size_t i = 0; i < run; ++i) AddAny(parent);
      count -= run;
    }
  }

  // A live object of the scene, or null when there is none.
  testhost::SceneObject* Pick() { return objects_.empty() ? nullptr : objects_[Below(objects_.size())]; }
  testhost::SceneObject* Active() const { return document_->active; }
  void Select(testhost::SceneObject* object) { scene_.SetActive(document_, object); }
  const std::vector<testhost::SceneObject*>& Objects() const { return objects_; }
  // Deletions stop (but for a rare one) while the scene holds no more than this.
  void KeepAtLeast(std::size_t count) { floor_ = count; }

  // One edit a user makes; says what it did.
  std::string Edit() {
    using testhost::ObjectKind;
    testhost::SceneObject* object = Pick();
    const std::size_t what = object == nullptr ? 0 : Below(9);
    switch (what) {
      case 0: {  // add one or a short chain, at the top level or below another object
        testhost::SceneObject* added = Chain(OneIn(3) ? 1 + Below(4) : 1, object != nullptr && !OneIn(4) ? object : nullptr);
        if (OneIn(3)) Select(added);
        return "added objects";
      }
      case 1:  // delete with everything below; the selection goes with it if inside
        if (objects_.size() > floor_ || OneIn(50)) {
          scene_.Remove(object);
          DropRemoved();
          return "deleted an object with its subtree";
        }
        Chain(1 + Below(floor_ / 4 + 1), OneIn(2) ? object : nullptr);
        return "added objects to a thinned scene";
      case 2: {  // move under another object or to the top level
        testhost::SceneObject* parent = OneIn(4) ? nullptr : Pick();
        return scene_.MoveUnder(object, parent) ? "moved an object" : "tried to move an object below itself";
      }
      case 3:
      case 4: {  // new geometry
        const testhost::ObjectShape shape = ShapeFor(object->kind);
        if (object->kind == ObjectKind::Polygon || object->kind == ObjectKind::Point) {
          object->points = shape.points;
          object->polygons = shape.polygons;
          object->ngons = shape.ngons;
        } else if (testhost::IsGenerator(object->kind)) {
          object->segments = shape.segments;
        }
        return "changed an object's geometry";
      }
      case 5:  // the geometry bit of the information flags
        object->infoFlags ^= testhost::kInfoGeometry;
        return "flipped an object's geometry flag";
      case 6:
        Select(OneIn(6) ? nullptr : object);
        return "selected another object";
      case 7: {  // a leaf below the object
        while (object->firstChild != nullptr) {
          testhost::SceneObject* child = object->firstChild;
          for (std::size_t skip = Below(4); skip > 0 && child->next != nullptr; --skip) child = child->next;
          object = child;
        }
        Select(object);
        return "selected a leaf";
      }
      default:
        Select(object->parent != nullptr ? object->parent : object);
        return "selected a parent";
    }
  }

 private:
  void DropRemoved() {
    std::vector<testhost::SceneObject*> live;
    live.reserve(objects_.size());
    for (testhost::SceneObject* object : objects_)
      if (scene_.IsSceneObject(object)) live.push_back(object);
    objects_.swap(live);
  }

  testhost::Scene& scene_;
  testhost::Document* document_;
  std::mt19937_64& random_;
  std::vector<testhost::SceneObject*> objects_;  // the live objects of the document
  std::size_t floor_ = 2;
};

}  // namespace validate
