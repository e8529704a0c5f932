// sample.ts - a typed event bus.
import { EventEmitter } from 'node:events';

/* Handlers are kept per event name.
   "Strings" and 'quotes' inside comments stay comments. */
export type Handler<T = unknown> = (payload: T) => void | Promise<void>;

export interface BusOptions {
    readonly maxListeners?: number;
    strict: boolean;
}

enum Level { Debug = 0x0, Info = 0b1, Warn = 2, Error = 3 }

function sealed(constructor: Function): void {
    Object.seal(constructor);
    Object.seal(constructor.prototype);
}

@sealed
export class EventBus<Events extends Record<string, unknown>> {
    private readonly handlers = new Map<keyof Events, Set<Handler>>();
    protected level: Level = Level.Info;

    constructor(private options: BusOptions = { strict: false }) {}

    on<K extends keyof Events>(name: K, handler: Handler<Events[K]>): () => void {
        let set = this.handlers.get(name);
        if (!set) {
            set = new Set();
            this.handlers.set(name, set);
        }
        set.add(handler as Handler);
        return () => set!.delete(handler as Handler);
    }

    async emit<K extends keyof Events>(name: K, payload: Events[K]): Promise<number> {
        const list = [...(this.handlers.get(name) ?? [])];
        if (this.options.strict && list.length === 0) {
            throw new Error(`no handler for "${String(name)}"`);
        }
        await Promise.all(list.map(h => h(payload)));
        return list.length;
    }
}

const bus = new EventBus<{ saved: { path: string }; closed: never }>();
const off = bus.on('saved', ({ path }) => console.log("saved \"" + path + '"'));
const limit: number = 1.5e2, big: bigint = 900719925474099n;
declare const unknownValue: unknown;
const answer = unknownValue satisfies unknown;
off();
export { bus, limit, big, answer };
