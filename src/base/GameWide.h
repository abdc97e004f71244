#pragma once
// The game-wide objects (pack, store, renderer, audio, progress, input, scenes, bullets, texts) each
// exist once per run. The entry point creates and deletes them in a fixed order and registers each
// here; everything else reaches them through GameWide<T>::get(). A null pointer means "not created
// yet" (or, in a unit test, "not wanted"), and callers must cope with it.
template <class T> class GameWide {
  public:
    static T* get() { return object_; }
    static void set(T* object) { object_ = object; }

  private:
    static inline T* object_ = nullptr;
};
